#pragma once
// What the playback tests share: a main window stand-in, waves, "Sounds.dxw" files in a
// scratch directory, and devices without output whose mixer the test drives by hand (one frame
// per sample at SilentRate), reporting every Play and Unlock as lost while ReportLost is set.

#include "audio/DXSound.h"
#include "audio/wavefile/WaveCollection.h"
#include "platform/d3d/DeviceWindow.h"
#include "platform/dsound/SoundDevice.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

constexpr DWORD SilentRate = 44100;

class TTestWindow : public TDeviceWindow {
public:
    void ClientSize(UINT& width, UINT& height) const override { width = height = 1; }
    void ShowPixels(const std::uint32_t*, UINT, UINT, const TFrameArea*, std::size_t) override {}
};

// The next real output opens on SDL's driver of that name ("dummy" plays silently in real time,
// "disk" writes to SDL_DISKAUDIOFILE).
void UseAudioDriver(const char* driver);

// 16-bit mono samples 0, 1, 2, ...: a mixed frame tells how far each copy has played.
std::vector<std::int16_t> Ramp(std::size_t count);
inline std::vector<std::int16_t> Constant(std::size_t count, std::int16_t value) {
    return std::vector<std::int16_t>(count, value);
}
TWaveCollectionItem& AddWave(TWaveCollection& collection, const std::string& name,
                             const std::vector<std::int16_t>& samples, DWORD rate = SilentRate);

// A fresh directory, removed with the object. Path() ends in a separator.
class TScratchDirectory {
public:
    TScratchDirectory();
    ~TScratchDirectory();
    std::string Path() const { return Root.string() + "/"; }
    void WriteSoundsFile(const TWaveCollection& collection) const;

private:
    std::filesystem::path Root;
};

class THandMixedDevices {
public:
    TSoundLibrary Library();
    std::vector<std::int16_t> MixLeft(std::uint32_t frames);
    bool ReportLost = false;

private:
    TComRef<TSoundDevice> Latest;
};
