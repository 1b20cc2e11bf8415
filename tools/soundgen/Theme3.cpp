#include "tools/soundgen/Arranger.h"
#include "tools/soundgen/GeneralMidi.h"
#include "tools/soundgen/Themes.h"

#include <array>

namespace {
constexpr std::string_view MelodyA =
    "d5e g5e b5e d6q b5e | e6q. c6e b5e a5e | b5e a5e g5e d5q g5e | a5q. f#5q. |"
    "d5e g5e b5e d6q g6e | e6e d6e c6e g5q e5e | f#5e a5e d6e c6q a5e | g5q. rq.";
constexpr std::string_view MelodyB =
    "b5q. e6q. | g6e e6e c6e e6q. | d6q b5e g5q b5e | a5q. rq a5e |"
    "b5e c6e b5e e6q. | g6q e6e c6q. | c6e b5e a5e f#5e a5e d6e | b5q. g5q.";
constexpr std::string_view MelodyC =
    "e5q. g5q. | f#5q a5e d6q. | d6e b5e a5e f#5q. | g5q. e5q. |"
    "c6q. e6q. | d6e c6e b5e a5q. | b5e g5e e5e g5e b5e e6e | d6q. c6q.";
constexpr std::string_view MelodyOutro =
    "e6q. d6q. | b5q. g5q. | a5e b5e c6e e6q. | d6e c6e a5e f#5q.";

constexpr std::string_view OomBass = "R..F..";
constexpr std::string_view WalkingBass = "R..F.A";
constexpr std::string_view PahPah = ".XX.XX";
constexpr std::string_view HeldChord = "X-----";
constexpr std::string_view Arpeggio = "123321";

constexpr std::array Groove{
    TDrumLine{gm::Kick, "X..o.."},
    TDrumLine{gm::SideStick, "...x.."},
    TDrumLine{gm::ClosedHat, "xoxxox"},
    TDrumLine{gm::Tambourine, ".....o"},
};
constexpr std::array Fill{
    TDrumLine{gm::Kick, "X..........."},    TDrumLine{gm::Snare, "......x.xxxX"},
    TDrumLine{gm::HighTom, "......x....."}, TDrumLine{gm::MidTom, "........x..."},
    TDrumLine{gm::LowTom, "..........x."},  TDrumLine{gm::ClosedHat, "x.x.x......."},
};
constexpr std::array Crash{TDrumLine{gm::Crash, "X....."}};
} // namespace

TSong ComposeTheme3() {
    TSongBuilder song("Zorbix: Skipping Lanes", 150, 6, 8);
    const int xylophone = song.AddPart({"Xylophone", 0, gm::Xylophone, 124, 70, 50, 0.9});
    const int clarinet = song.AddPart({"Clarinet", 1, gm::Clarinet, 124, 52, 50, 0.9});
    const int flute = song.AddPart({"Flute", 2, gm::Flute, 118, 76, 60, 0.95});
    const int celesta = song.AddPart({"Celesta", 3, gm::Celesta, 108, 88, 60, 0.9});
    const int pizzicato = song.AddPart({"Pizzicato", 4, gm::PizzicatoStrings, 114, 44, 50, 0.5});
    const int strings = song.AddPart({"Strings", 5, gm::SlowStrings, 82, 64, 70, 1.0});
    const int tuba = song.AddPart({"Tuba", 6, gm::Tuba, 127, 64, 20, 0.7});
    const int drums = song.AddPart({"Drums", DrumChannel, 0, 116, 64, 30, 1.0});

    const auto backing = [&](const TProgression& chords, std::string_view bassPattern,
                             bool withStrings) {
        const int bars = static_cast<int>(chords.size());
        song.Accompany(tuba, chords, bassPattern, 31, 96);
        song.Accompany(pizzicato, chords, PahPah, 55, 76);
        if (withStrings) {
            song.Accompany(strings, chords, HeldChord, 50, 60);
        }
        song.Drums(drums, 1, Crash);
        song.Drums(drums, bars, Groove, Fill);
    };

    const TProgression intro = ParseProgression("G | C | D | D7");
    const TProgression verse = ParseProgression("G | C | G | D | G | C | D | G");
    const TProgression chorus = ParseProgression("Em | C | G | D | Em | C | Am D | G");
    const TProgression bridge = ParseProgression("C | D | Bm | Em | C | D | Em | D7");
    const TProgression outro = ParseProgression("C | G | Am | D7");

    backing(intro, OomBass, false);
    song.Accompany(celesta, intro, Arpeggio, 67, 70);
    song.Advance(4);

    backing(verse, OomBass, false);
    song.Melody(xylophone, MelodyA, 100);
    song.Advance(8);

    backing(verse, OomBass, false);
    song.Melody(xylophone, MelodyA, 100);
    song.Melody(clarinet, MelodyA, 80, -12);
    song.Advance(8);

    backing(chorus, WalkingBass, true);
    song.Melody(clarinet, MelodyB, 96);
    song.Advance(8);

    backing(chorus, WalkingBass, true);
    song.Melody(clarinet, MelodyB, 96);
    song.Melody(xylophone, MelodyB, 80, 12);
    song.Advance(8);

    backing(verse, OomBass, false);
    song.Melody(xylophone, MelodyA, 100);
    song.Advance(8);

    backing(bridge, WalkingBass, true);
    song.Melody(flute, MelodyC, 100);
    song.Accompany(celesta, bridge, Arpeggio, 67, 60);
    song.Advance(8);

    backing(verse, OomBass, true);
    song.Melody(xylophone, MelodyA, 100);
    song.Melody(flute, MelodyA, 76);
    song.Advance(8);

    backing(outro, OomBass, true);
    song.Melody(flute, MelodyOutro, 96);
    song.Accompany(celesta, outro, Arpeggio, 67, 64);
    song.Advance(4);
    return std::move(song).Finish();
}
