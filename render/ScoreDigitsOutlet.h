#pragma once
// The game's way out with the score going to the score digits: ShowScore lands on Numbers,
// effects and final scores go on to the outlet the program gives (or nowhere). The app
// installs one with TGame::SetOutlet after loading; the headless modes use a silent one.

#include "game/GameOutlet.h"

class TScoreDigitsOutlet final : public IGameOutlet {
public:
    // `rest` receives PlaySoundEffect and AddScore; null drops them. It must outlive this.
    explicit TScoreDigitsOutlet(IGameOutlet* rest = nullptr) : Rest(rest) {}

    // Shows the score on Numbers, once the digits exist.
    void ShowScore(std::int32_t score) override;
    void PlaySoundEffect(std::string_view name) override;
    void AddScore(std::int32_t score) override;

private:
    IGameOutlet* Rest;
};
