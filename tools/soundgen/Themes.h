#pragma once
// The three background tunes, "theme1.mid" to "theme3.mid". Each runs between one and two
// minutes and ends on a bar line with a turnaround that leads back into its first bar, so
// the restart from the beginning loops seamlessly.

#include "tools/soundgen/Song.h"

// A bright, bouncing major-key galop: square lead, flute, vibraphone, electric piano.
TSong ComposeTheme1();
// A relaxed minor-key groove: marimba, flute, electric piano, finger bass.
TSong ComposeTheme2();
// A skipping tune in six-eight: xylophone, clarinet, flute, pizzicato strings and tuba.
TSong ComposeTheme3();
