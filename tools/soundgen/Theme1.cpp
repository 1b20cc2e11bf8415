#include "tools/soundgen/Arranger.h"
#include "tools/soundgen/GeneralMidi.h"
#include "tools/soundgen/Themes.h"

#include <array>

namespace {
constexpr std::string_view MelodyA =
    "e5q g5e c6e b5q g5q | a5q. g5e e5h | f5e a5e c6e a5e g5q f5q | g5q d5e e5e g5h |"
    "e5q g5e c6e e6q d6e c6e | c6q a5q e5q a5q | a5e g5e f5e a5e g5e f5e e5e d5e |"
    "c5h rq g4q";
constexpr std::string_view MelodyA2 =
    "e5q g5e c6e b5q g5q | a5q. g5e e5h | f5e a5e c6e a5e g5q f5q | g5q d5e e5e g5h |"
    "e6q. d6e c6q g5q | a5e b5e c6e e6e a6h | f6q e6e d6e b5q g5q | c6h. rq";
constexpr std::string_view MelodyB =
    "a5h c6q a5q | b5h. g5q | g5q b5q e6q d6q | c6h. rq |"
    "a5e c6e f6e c6e a5e c6e f6q | g6q. f6e d6q b5q | f5q a5q d6q f6q | g6h f6q d6q";
constexpr std::string_view MelodyC = "e5q. c5e a4q c5q | b4h g4q b4q | c5q. a4e f4q a4q | g4h. rq |"
                                     "f5q. d5e a4q d5q | e5h c5q e5q | f5q d5q bb4q f5q | g5h. rq";
constexpr std::string_view MelodyOutro =
    "a5q c6q f6q c6q | d6q b5q g5q d5q | e5h c5h | d5q f5q g5q b5q";

constexpr std::string_view BassBounce = "R-O-R-O-R-O-R-O-";
constexpr std::string_view BassSkip = "R--RF-O-R--RF-A-";
constexpr std::string_view OffbeatChops = "..X-..X-..X-..X-";
constexpr std::string_view HeldChord = "X---------------";
constexpr std::string_view Arpeggio = "1-2-3-2-1-2-3-2-";

constexpr std::array Groove{
    TDrumLine{gm::Kick, "X.......x.x....."},
    TDrumLine{gm::Snare, "....X.......X..."},
    TDrumLine{gm::ClosedHat, "x.o.x.o.x.o.x.o."},
};
constexpr std::array Fill{
    TDrumLine{gm::Kick, "X.......X......."},      TDrumLine{gm::Snare, "....X...x......X"},
    TDrumLine{gm::ClosedHat, "x.o.x.o........."}, TDrumLine{gm::HighTom, "..........xx...."},
    TDrumLine{gm::MidTom, "............xx.."},    TDrumLine{gm::LowTom, "..............X."},
};
constexpr std::array Crash{TDrumLine{gm::Crash, "X..............."}};
} // namespace

TSong ComposeTheme1() {
    TSongBuilder song("Zorbix: Bright Lanes", 144, 4, 4);
    const int lead = song.AddPart({"Square lead", 0, gm::SquareLead, 84, 64, 40, 0.85});
    const int flute = song.AddPart({"Flute", 1, gm::Flute, 100, 54, 60, 0.95});
    const int bells = song.AddPart({"Vibraphone", 2, gm::Vibraphone, 92, 84, 60, 1.0});
    const int keys = song.AddPart({"Electric piano", 3, gm::ElectricPiano, 78, 40, 40, 0.6});
    const int strings = song.AddPart({"Strings", 4, gm::Strings, 66, 64, 70, 1.0});
    const int bass = song.AddPart({"Synth bass", 5, gm::SynthBass, 98, 64, 10, 0.8});
    const int drums = song.AddPart({"Drums", DrumChannel, 0, 100, 64, 30, 1.0});

    const auto backing = [&](const TProgression& chords, std::string_view bassPattern,
                             bool withStrings) {
        const int bars = static_cast<int>(chords.size());
        song.Accompany(bass, chords, bassPattern, 36, 96);
        song.Accompany(keys, chords, OffbeatChops, 60, 72);
        if (withStrings) {
            song.Accompany(strings, chords, HeldChord, 53, 64);
        }
        song.Drums(drums, 1, Crash);
        song.Drums(drums, bars, Groove, Fill);
    };

    const TProgression intro = ParseProgression("C | Am | F | G");
    const TProgression verse = ParseProgression("C | Am | F | G | C | Am | F G | C");
    const TProgression verse2 = ParseProgression("C | Am | F | G | C | Am | Dm G7 | C");
    const TProgression chorus = ParseProgression("F | G | Em | Am | F | G | Dm | G7");
    const TProgression bridge = ParseProgression("Am | Em | F | C | Dm | Am | Bb | G");
    const TProgression outro = ParseProgression("F | G | C | G7");

    backing(intro, BassBounce, false);
    song.Accompany(bells, intro, Arpeggio, 72, 70);
    song.Advance(4);

    backing(verse, BassBounce, false);
    song.Melody(lead, MelodyA, 96);
    song.Advance(8);

    backing(verse2, BassBounce, true);
    song.Melody(lead, MelodyA2, 96);
    song.Melody(bells, MelodyA2, 66, -12);
    song.Advance(8);

    backing(chorus, BassSkip, true);
    song.Melody(flute, MelodyB, 100);
    song.Advance(8);

    backing(verse2, BassBounce, false);
    song.Melody(lead, MelodyA2, 96);
    song.Advance(8);

    backing(bridge, BassSkip, true);
    song.Melody(bells, MelodyC, 100, 12);
    song.Melody(flute, MelodyC, 80);
    song.Advance(8);

    backing(verse, BassBounce, true);
    song.Melody(lead, MelodyA, 96);
    song.Melody(flute, MelodyA, 70);
    song.Advance(8);

    backing(outro, BassBounce, true);
    song.Melody(lead, MelodyOutro, 92);
    song.Accompany(bells, outro, Arpeggio, 72, 64);
    song.Advance(4);
    return std::move(song).Finish();
}
