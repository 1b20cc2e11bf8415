#pragma once
// The sound effects the game plays, by their names in "Sounds.dxw": the game asks for them,
// the sound generator makes them, and the built file is tested to hold every one.

#include <array>
#include <string_view>

constexpr std::string_view NewGameEffect = "newgame";
constexpr std::string_view LifeEffect = "life";
constexpr std::string_view SpeedEffect = "speed";
constexpr std::string_view FallEffect = "fall";
constexpr std::string_view NewSlotEffect = "newslot";
constexpr std::string_view GameOverEffect = "gameover";
// One of these, drawn at random, for each catch.
constexpr std::array<std::string_view, 8> KickEffectNames{"kik0", "kik1", "kik2", "kik3",
                                                          "kik4", "kik5", "kik6", "kik7"};

constexpr std::array<std::string_view, 14> PlayedEffects{
    NewGameEffect,      LifeEffect,         SpeedEffect,        FallEffect,
    NewSlotEffect,      GameOverEffect,     KickEffectNames[0], KickEffectNames[1],
    KickEffectNames[2], KickEffectNames[3], KickEffectNames[4], KickEffectNames[5],
    KickEffectNames[6], KickEffectNames[7]};
