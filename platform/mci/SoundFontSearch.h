#pragma once
// Where the music's General MIDI SoundFont is looked for, in this order: $ZORBIX_SOUNDFONT when
// set, FluidSynth's own default SoundFont setting, the distribution's General MIDI links
// (/usr/share/sounds/sf2/default-GM.sf2, then /usr/share/sounds/sf3/default-GM.sf3), and the
// TimGM6mb file. The first that is a readable file wins; none found leaves the music silent.

#include <string>
#include <vector>

// The places above for this process, in order; an unset or empty variable or setting is left
// out.
std::vector<std::string> SoundFontPlaces();
// The first of places that is a regular file we may read; empty when there is none.
std::string FirstSoundFont(const std::vector<std::string>& places);
