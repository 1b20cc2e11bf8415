#include "BenchSounds.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>

TComRef<IDirectSoundBuffer> ToneBuffer(IDirectSound* device, DWORD rate, double seconds) {
    const WAVEFORMATEX format{WAVE_FORMAT_PCM, 1, rate, rate * 2, 2, 16, 0};
    const auto frames = static_cast<DWORD>(rate * seconds);
    const DSBUFFERDESC description{DSBUFFERDESC_SIZE, 0xE0, frames * 2, 0, &format, {}};
    TComRef<IDirectSoundBuffer> buffer;
    if (device->CreateSoundBuffer(&description, buffer.Put(), nullptr) != DS_OK) {
        return {};
    }
    void* bytes = nullptr;
    DWORD size = 0;
    buffer->Lock(0, frames * 2, &bytes, &size, nullptr, nullptr, 0);
    auto* samples = static_cast<std::int16_t*>(bytes);
    for (DWORD i = 0; i < frames; ++i) {
        samples[i] = static_cast<std::int16_t>(
            8000 * std::sin(2 * std::numbers::pi * 440 * i / static_cast<double>(rate)));
    }
    buffer->Unlock(bytes, size, nullptr, 0);
    return buffer;
}

std::vector<std::uint8_t> ChordSong(int bars) {
    std::vector<std::uint8_t> track{0x00, 0xC0, 0, 0x00, 0xC1, 48}; // piano, strings
    constexpr std::uint8_t Chords[4][4] = {
        {48, 55, 60, 64}, {45, 52, 57, 60}, {41, 48, 53, 57}, {43, 50, 55, 59}};
    for (int bar = 0; bar < bars; ++bar) {
        const auto* chord = Chords[bar % 4];
        for (int n = 0; n < 4; ++n) {
            track.insert(track.end(), {0x00, 0x91, chord[n], 70});
        }
        for (int eighth = 0; eighth < 8; ++eighth) {
            const auto note = static_cast<std::uint8_t>(chord[eighth % 4] + 12);
            track.insert(track.end(), {0x00, 0x90, note, 90, 0x30, 0x80, note, 0});
        }
        for (int n = 0; n < 4; ++n) {
            track.insert(track.end(), {0x00, 0x81, chord[n], 0});
        }
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
    std::vector<std::uint8_t> file{'M', 'T', 'h', 'd', 0,  0,   0,   6,   0,
                                   0,   0,   1,   0,   96, 'M', 'T', 'r', 'k'};
    const auto size = static_cast<std::uint32_t>(track.size());
    file.insert(file.end(),
                {static_cast<std::uint8_t>(size >> 24), static_cast<std::uint8_t>(size >> 16),
                 static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)});
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

double ThreadCpuSeconds(const std::string& prefix) {
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    double seconds = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream nameFile(task.path() / "comm");
        std::string name;
        std::getline(nameFile, name);
        if (name.rfind(prefix, 0) != 0) {
            continue;
        }
        std::ifstream statFile(task.path() / "stat");
        std::string stat((std::istreambuf_iterator<char>(statFile)), {});
        // Fields after the parenthesised name: state is the 3rd, utime the 14th, stime the 15th.
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string field;
        double user = 0;
        double system = 0;
        for (int index = 3; fields >> field; ++index) {
            if (index == 14) {
                user = std::stod(field);
            } else if (index == 15) {
                system = std::stod(field);
                break;
            }
        }
        seconds += (user + system) / ticksPerSecond;
    }
    return seconds;
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}
