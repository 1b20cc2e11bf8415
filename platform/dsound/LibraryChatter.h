#pragma once
// Keeps the sound card library's own error lines off standard error: a machine without a
// card, or a sound server, is expected, and the game answers it with silence, not messages.

// Call before SDL's audio starts; later calls do nothing. Harmless where the library is absent.
void SilenceSoundCardLibrary();
