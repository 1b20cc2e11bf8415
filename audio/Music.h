#pragma once
// Background music: one of three tracks, played under the alias "mainback" and started
// again from its beginning each time it ends, until the Music setting is switched.
// Everything here runs on the user-interface thread.

#include "platform/mci/MciNotifyTarget.h"

#include <array>
#include <cstdint>
#include <string>

constexpr std::size_t MusicTrackCount = 3;

// Written by the loading of the sounds (the names) and by NextMusicTrack (the draw).
// theme1.mid, theme2.mid and theme3.mid in the program's directory.
extern std::array<std::string, MusicTrackCount> MusicTracks;
// Indexes not yet drawn by NextMusicTrack, as bits 0 to 2.
extern std::uint8_t UnplayedTracks;

// Names the tracks; leaves {1, 2} undrawn. Called once during loading, before StartMusic.
void InitMusicTracks();
// With music on, plays track 0 or 1 (even chances) with notifications to mainWindow.
void StartMusic(IMciNotifyTarget* mainWindow);
// Draws a track not played since the last refill; when two are left, the one after the
// missing index (in the cycle 0, 1, 2) comes first two times in three.
std::string NextMusicTrack();
// With music on and a name given: opens the track, seeks to startPosition (milliseconds;
// -1 sends no seek) and plays it with notifications to notifyTarget.
void PlayMusic(const std::string& fileName, IMciNotifyTarget* notifyTarget,
               std::int32_t startPosition);
// Stops and closes the track; its pending notification follows, as an interruption.
void StopMusic();
// The main window's handler of every music notification: unless the window is closing or
// music is off, starts the open track again from its beginning. Holds the game still for
// 100 ms (the state reads paused meanwhile) and restores the state it found.
void MciNotify(IMciNotifyTarget* mainWindow);
