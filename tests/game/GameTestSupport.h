#pragma once
// A game on its own options with a recorder in its outlet, and the shell's calls into it.

#include "core/Globals.h"
#include "core/Random.h"
#include "game/Game.h"
#include "game/PlayFrame.h"
#include "game/ScriptedPlayer.h"
#include "game/Sides.h"
#include "settings/Options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

// The sounds in order, with every "kik0" to "kik7" written as "kik"; the final scores; the
// score last shown.
struct TRecorder : IGameOutlet {
    std::vector<std::string> Sounds;
    std::vector<std::int32_t> FinalScores;
    std::int32_t Shown = -1;
    void ShowScore(std::int32_t score) override { Shown = score; }
    void PlaySoundEffect(std::string_view name) override {
        const bool kick =
            name.size() == 4 && name.starts_with("kik") && name[3] >= '0' && name[3] <= '7';
        Sounds.emplace_back(kick ? "kik" : name);
    }
    void AddScore(std::int32_t score) override { FinalScores.push_back(score); }
    long Count(const std::string& sound) const { return std::ranges::count(Sounds, sound); }
};

class GameTest : public ::testing::Test {
protected:
    GameTest() {
        Options = std::make_unique<TOptions>();
        Options->Difficulty = 1;
        RandSeed = 20240601;
        GameState = gsPlaying;
        Game->SetOutlet(&Recorder);
        Game->NewGame();
    }
    ~GameTest() override { Options.reset(); }
    // The shell while playing: a key leaves the interlude, and the game ticks in state 2.
    void Frame(std::uint32_t ms) {
        MakeMove(*Game, TPlayer::Losing);
        PlayFrame(*Game, ms);
    }
    // A ball of `side` rolling from the top of its lane with `remaining` path left.
    TBall& RollingBall(std::uint8_t side, float remaining) {
        Game->SpawnBall();
        TBall& ball = Game->Balls[Game->BallCount - 1];
        ball.Side = side;
        ball.Obj.Position = {SidePosition(side).x, SidePosition(side).y, 0.6f};
        ball.Phase = bpRolling;
        ball.Remaining = remaining;
        return ball;
    }

    TRecorder Recorder;
    std::unique_ptr<TGame> Game = std::make_unique<TGame>(TComRef<IDirect3DDevice8>());
};
