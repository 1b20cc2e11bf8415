#pragma once
// The game's way out for the headless scene: the score goes to the score digits, effects and
// final scores go on to the outlet given (or nowhere). The main window is its game's outlet
// itself and shows the score the same way.

#include "game/GameOutlet.h"

class TScoreDigitsOutlet final : public IGameOutlet {
public:
    // `rest` receives PlaySoundEffect and AddScore; null drops them. It must outlive this.
    explicit TScoreDigitsOutlet(IGameOutlet* rest = nullptr) : Rest(rest) {}

    // ShowScoreOnDigits.
    void ShowScore(std::int32_t score) override;
    void PlaySoundEffect(std::string_view name) override;
    void AddScore(std::int32_t score) override;

private:
    IGameOutlet* Rest;
};
