// reader_seeds DIR: writes the starting points of the file reader fuzzers, each a valid file
// made by the game's own writers, into one folder a fuzzer: "options", "integer",
// "scores", "midi", "bitmap", "jpeg" and "replay".

#include "core/Globals.h"
#include "core/Random.h"
#include "game/GameFlow.h"
#include "game/ReplayRecorder.h"
#include "game/ScriptedPlayer.h"
#include "settings/Options.h"
#include "settings/ScoreTable.h"
#include "tests/fuzz/BitmapPair.h"
#include "tools/imagegen/JpegWriter.h"
#include "tools/soundgen/MidiFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {
using TBytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

void Save(const fs::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

void Save(const fs::path& path, const TBytes& bytes) {
    Save(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// The settings saved over an empty file, over one with other sections and LF endings, and
// over one that starts with a byte-order mark.
void OptionsSeeds(const fs::path& dir) {
    const std::string_view before[] = {"", "[Window]\nLeft=$10\n\n[Options]\nView=x2\n",
                                       "\xEF\xBB\xBF[Options]\r\nMusic=0\r\n"};
    int index = 0;
    for (const std::string_view text : before) {
        const fs::path file = dir / ("options" + std::to_string(index) + ".ini");
        Save(file, text);
        TOptions options;
        options.IniFileName = file.string();
        options.View = static_cast<std::uint8_t>(index);
        options.Difficulty = static_cast<std::uint8_t>(index % 2);
        options.SoundOn = index != 1;
        options.MusicOn = index == 1;
        options.SaveOptions();
        ++index;
    }
}

void IntegerSeeds(const fs::path& dir) {
    const std::string_view texts[] = {"0",         "-2147483648", "2147483647",
                                      "$FFFFFFFF", "-0x7f",       "+X1a"};
    int index = 0;
    for (const std::string_view text : texts) {
        Save(dir / ("integer" + std::to_string(index++)), text);
    }
}

// The default table, and one holding a named new score.
void ScoreSeeds(const fs::path& dir) {
    TScoreTable cleared((dir / "cleared.dat").string());
    cleared.ClearTable();
    TScoreTable played((dir / "played.dat").string());
    played.AddScore(1234);
    played.StoreName(1, "Player with a name of fifty characters at the most");
    played.AddScore(3);
    played.SaveTable();
}

void MidiSeeds(const fs::path& dir) {
    std::vector<TMidiTrack> tracks(2);
    tracks[0].TrackName(0, "tempo");
    tracks[0].Tempo(0, 120);
    tracks[0].TimeSignature(0, 6, 8);
    tracks[0].Tempo(960, 90.5);
    tracks[1].ProgramChange(0, 3, 12);
    tracks[1].Controller(0, 3, 7, 100);
    for (int note = 0; note < 4; ++note) {
        const auto tick = static_cast<std::uint32_t>(note * 240);
        tracks[1].NoteOn(tick, 3, 60 + note, 90);
        tracks[1].NoteOff(tick + 200, 3, 60 + note);
    }
    Save(dir / "two-tracks.mid", MidiFileImage(tracks, 480, 1200));
    Save(dir / "one-track.mid", MidiFileImage(std::span(tracks).subspan(1), 96, 960));
}

QImage Gradient(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x + y) * 40 % 256));
        }
    }
    return image.convertToFormat(format);
}

TBytes BitmapBytes(const QImage& image) {
    QByteArray encoded;
    QBuffer buffer(&encoded);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "BMP")) {
        throw std::runtime_error("cannot encode a bitmap");
    }
    return TBytes(encoded.begin(), encoded.end());
}

// Pictures in each depth the bitmap writer makes, alone and with a mask of the same size.
void BitmapSeeds(const fs::path& dir) {
    const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_RGB888,
                                      QImage::Format_Indexed8, QImage::Format_Mono};
    int index = 0;
    for (const QImage::Format format : formats) {
        const TBytes picture = BitmapBytes(Gradient(7, 5, format));
        const TBytes mask = BitmapBytes(Gradient(7, 5, QImage::Format_Grayscale8));
        Save(dir / ("picture" + std::to_string(index)), JoinBitmapPair(picture, {}, false));
        Save(dir / ("masked" + std::to_string(index)), JoinBitmapPair(picture, mask, true));
        ++index;
    }
}

void JpegSeeds(const fs::path& dir) {
    const QSize sizes[] = {{1, 1}, {16, 8}, {33, 17}};
    for (const QSize size : sizes) {
        TBytes encoded;
        std::string message;
        if (!EncodeJpeg(Gradient(size.width(), size.height(), QImage::Format_RGB32), encoded,
                        message)) {
            throw std::runtime_error(message);
        }
        Save(dir / (std::to_string(size.width()) + "x" + std::to_string(size.height()) + ".jpg"),
             encoded);
    }
}
// Games recorded as the window records them, short enough for the fuzzer's inputs: one with
// pauses, the interlude and a change of difficulty at the frame rate of play, one that runs to
// its end in long frames.
void ReplaySeeds(const fs::path& dir) {
    Options = std::make_unique<TOptions>();
    const std::uint32_t frameTimes[] = {16, 2500};
    int index = 0;
    for (const std::uint32_t ms : frameTimes) {
        const auto game = std::make_unique<TGame>(TComRef<IDirect3DDevice8>());
        TReplayRecorder recorder;
        RandSeed = 1230 + static_cast<std::uint32_t>(index);
        FlowToTitle();
        recorder.Apply(*game, {TCommandKind::Press, 'a'});
        for (int frame = 0; frame < 150 && GameState != gsGameOver; ++frame) {
            if (GameState == gsInterlude || frame % 40 == 20) {
                recorder.Apply(*game, {TCommandKind::Press, frame % 3 == 0 ? 27u : 32u});
            }
            if (frame % 50 == 30) {
                recorder.Apply(*game, {TCommandKind::MenuPause, 0});
                recorder.Note({TCommandKind::Difficulty, 0});
            }
            recorder.Apply(*game, {TCommandKind::Key, 37u + static_cast<std::uint32_t>(frame % 4)});
            recorder.Apply(*game, {TCommandKind::Frame, ms});
        }
        const TReplay replay = recorder.Finish({Options->Score, 1, 46366.5, "Ann (normal)"});
        Save(dir / ("replay" + std::to_string(index++) + ".replay"), ReplayText(replay));
    }
    Options.reset();
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: reader_seeds DIR\n");
        return 2;
    }
    const fs::path root = argv[1];
    try {
        for (const char* kind :
             {"options", "integer", "scores", "midi", "bitmap", "jpeg", "replay"}) {
            fs::create_directories(root / kind);
        }
        OptionsSeeds(root / "options");
        IntegerSeeds(root / "integer");
        ScoreSeeds(root / "scores");
        MidiSeeds(root / "midi");
        BitmapSeeds(root / "bitmap");
        JpegSeeds(root / "jpeg");
        ReplaySeeds(root / "replay");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "reader_seeds: %s\n", error.what());
        return 1;
    }
    return 0;
}
