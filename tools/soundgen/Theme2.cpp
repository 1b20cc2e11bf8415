#include "tools/soundgen/Arranger.h"
#include "tools/soundgen/GeneralMidi.h"
#include "tools/soundgen/Themes.h"

#include <array>

namespace {
constexpr std::string_view MelodyA =
    "a4e c5e e5e g5q e5e d5e c5e | f#5q. e5e d5q a4q | a4e c5e e5e a5q g5e e5e g5e |"
    "f#5h rq a4q | a5q. g5e e5q c5q | b4q. d5e e5q g5q | f5e e5e d5e c5e a4q f5q |"
    "e5h g#5q b5q";
constexpr std::string_view MelodyA2 =
    "a4e c5e e5e g5q e5e d5e c5e | f#5q. e5e d5q a4q | a4e c5e e5e a5q g5e e5e g5e |"
    "f#5h rq a4q | c6q. b5e a5q e5q | g5q. f#5e e5q b4q | d5e f5e a5e c6e b5q a5q |"
    "g#5h. rq";
constexpr std::string_view MelodyB =
    "c6h a5q f5q | d6h. b5q | g5q b5q d6q e6q | c6h. rq |"
    "a5q f5q d5q f5q | g5q. a5e b5q d6q | e6q. d6e c6q g5q | e5e f5e g#5e b5e e6h";

constexpr std::string_view BassFunk = "R-.R..R-..F-O-.A";
constexpr std::string_view BassWalk = "R---T---F---A---";
constexpr std::string_view Skank = "....X-.X....X-..";
constexpr std::string_view HeldChord = "X---------------";

constexpr std::array Groove{
    TDrumLine{gm::Kick, "X.....x.x.....x."},      TDrumLine{gm::Snare, "....X.......X..."},
    TDrumLine{gm::ClosedHat, "x.xox.xox.xox.x."}, TDrumLine{gm::OpenHat, "..............x."},
    TDrumLine{gm::Shaker, "oooooooooooooooo"},
};
constexpr std::array Fill{
    TDrumLine{gm::Kick, "X.....x.X......."},      TDrumLine{gm::Snare, "....X.....x.xoxx"},
    TDrumLine{gm::ClosedHat, "x.xox.x........."}, TDrumLine{gm::HighTom, "........x......."},
    TDrumLine{gm::MidTom, ".........x......"},
};
constexpr std::array Crash{TDrumLine{gm::Crash, "X..............."}};
} // namespace

TSong ComposeTheme2() {
    TSongBuilder song("Zorbix: Night Lanes", 104, 4, 4);
    const int marimba = song.AddPart({"Marimba", 0, gm::Marimba, 127, 60, 50, 0.9});
    const int flute = song.AddPart({"Flute", 1, gm::Flute, 110, 76, 70, 0.95});
    const int keys = song.AddPart({"Electric piano", 2, gm::ElectricPiano, 98, 44, 50, 0.8});
    const int pad = song.AddPart({"Warm pad", 3, gm::WarmPad, 74, 64, 80, 1.0});
    const int bass = song.AddPart({"Finger bass", 4, gm::FingerBass, 120, 64, 10, 0.85});
    const int drums = song.AddPart({"Drums", DrumChannel, 0, 115, 64, 30, 1.0});

    const auto backing = [&](const TProgression& chords, std::string_view bassPattern) {
        const int bars = static_cast<int>(chords.size());
        song.Accompany(bass, chords, bassPattern, 33, 96);
        song.Accompany(keys, chords, Skank, 57, 70);
        song.Accompany(pad, chords, HeldChord, 52, 58);
        song.Drums(drums, 1, Crash);
        song.Drums(drums, bars, Groove, Fill);
    };

    const TProgression intro = ParseProgression("Am7 | D7 | Am7 | D7");
    const TProgression verse = ParseProgression("Am7 | D7 | Am7 | D7 | Fmaj7 | Em7 | Dm7 | E7");
    const TProgression chorus = ParseProgression("Fmaj7 | G | Em7 | Am7 | Dm7 | G | C | E7");

    backing(intro, BassFunk);
    song.Advance(4);

    backing(verse, BassFunk);
    song.Melody(marimba, MelodyA, 100);
    song.Advance(8);

    backing(verse, BassFunk);
    song.Melody(marimba, MelodyA2, 100);
    song.Melody(flute, MelodyA2, 70, 12);
    song.Advance(8);

    backing(chorus, BassWalk);
    song.Melody(flute, MelodyB, 100);
    song.Melody(marimba, MelodyB, 84, -12);
    song.Advance(8);

    backing(verse, BassFunk);
    song.Melody(marimba, MelodyA2, 100);
    song.Advance(8);
    return std::move(song).Finish();
}
