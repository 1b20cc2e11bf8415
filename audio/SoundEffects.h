#pragma once
// The sound-effect half of the audio unit: the main window's sound device and wave list, and
// the game's one way to play an effect by its name. User-interface thread only.

#include "audio/DXSound.h"
#include "audio/DXWaveList.h"

#include <memory>
#include <string>
#include <string_view>

// The main window's two sound components; the wave list listens to the device.
struct TSoundComponents {
    explicit TSoundComponents(HWND form);
    TDXSound DXSound;
    TDXWaveList DXWaveList; // declared last: goes first, so no buffer outlives its device
};

// Made by CreateSoundComponents, freed by DestroySoundComponents.
extern std::unique_ptr<TSoundComponents> SoundComponents;

// Makes the components bound to the main window (form, the window the 3D device presents
// into), in place of any made before. Opens nothing.
void CreateSoundComponents(HWND form);
// Silences every effect and closes the device. Call it when the main window goes, before the
// program ends (the device's audio thread must not outlive the window's message loop).
void DestroySoundComponents();

// The two loading steps of the main window's LoadSounds:
// 1. with Options->SoundOn, opens the device; when it cannot be opened, switches SoundOn and
//    MusicOn off, silently (no message; the menu's check marks are left alone);
// 2. whatever SoundOn says now, loads programDirectory + "Sounds.dxw" (programDirectory ends
//    in a separator) into the wave list, filling every buffer when the device is open.
// Throws EGameError "Cannot open file <path>" or the reader's failure from step 2: a missing or
// damaged "Sounds.dxw" stops the loading. Makes the components first if none exist (bound to
// no window, so the device cannot open).
void LoadSoundEffects(const std::string& programDirectory);

// With Options->SoundOn: plays the named effect without waiting for its end; otherwise does
// nothing. A name missing from the collection plays nothing. The game's outlet calls this.
void PlaySoundEffect(std::string_view name);
