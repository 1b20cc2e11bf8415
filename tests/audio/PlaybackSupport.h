#pragma once
// What the playback tests share: a main window stand-in, waves with recognisable samples,
// "Sounds.dxw" files in a scratch directory, a device that is never heard (the test mixes its
// output by hand, so what sounds can be read frame by frame), and a device that can be told to
// fail.

#include "audio/DXSound.h"
#include "audio/WaveCollection.h"
#include "platform/d3d/DeviceWindow.h"
#include "platform/dsound/SoundDevice.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The rate of the hand-mixed device; waves at this rate advance one sample a frame.
constexpr DWORD SilentRate = 44100;

class TTestWindow : public TDeviceWindow {
public:
    void ClientSize(UINT& width, UINT& height) const override { width = height = 1; }
    void ShowPixels(const std::uint32_t*, UINT, UINT) override {}
};

// 16-bit mono samples 0, 1, 2, ...: a mixed frame tells how far each copy has played.
std::vector<std::int16_t> Ramp(std::size_t count);
std::vector<std::int16_t> Constant(std::size_t count, std::int16_t value);

// Appends a 16-bit mono item at rate.
TWaveCollectionItem& AddWave(TWaveCollection& collection, const std::string& name,
                             const std::vector<std::int16_t>& samples, DWORD rate = SilentRate);

// A fresh directory, removed with the object.
class TScratchDirectory {
public:
    TScratchDirectory();
    ~TScratchDirectory();
    // The path with a trailing separator, as ProgramDirectory() gives it.
    std::string Path() const { return Root.string() + "/"; }
    // Writes the collection as a "Sounds.dxw" image at Path() + name.
    void WriteCollection(const TWaveCollection& collection,
                         const std::string& name = "Sounds.dxw") const;

private:
    std::filesystem::path Root;
};

// Hands out devices without audio output and keeps the latest, whose mixer the test drives.
class TSilentDevices {
public:
    TSoundLibrary Library();
    TSoundDevice& Latest() { return *Device.Get(); }
    // Mixes the next frames; returns the left channel.
    std::vector<std::int16_t> MixLeft(std::uint32_t frames);

private:
    TComRef<TSoundDevice> Device;
};

// Wraps a silent device: its buffers pass every call on, except for the faults switched on.
class TFaultyDevices {
public:
    struct TFaults {
        bool RefusePrimary = false; // the primary buffer cannot be made
        bool RefuseLock = false;    // no buffer can be locked
        bool ReportLost = false;    // Play and Unlock answer DSERR_BUFFERLOST
    };

    TSoundLibrary Library();
    TFaults Faults;

private:
    TSilentDevices Inner;
};
