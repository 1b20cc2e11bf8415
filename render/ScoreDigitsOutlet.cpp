#include "render/ScoreDigitsOutlet.h"

#include "render/SceneResources.h"

void TScoreDigitsOutlet::ShowScore(std::int32_t score) {
    ShowScoreOnDigits(score);
}

void TScoreDigitsOutlet::PlaySoundEffect(std::string_view name) {
    if (Rest != nullptr) {
        Rest->PlaySoundEffect(name);
    }
}

void TScoreDigitsOutlet::AddScore(std::int32_t score) {
    if (Rest != nullptr) {
        Rest->AddScore(score);
    }
}
