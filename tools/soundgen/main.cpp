// zorbix-soundgen OUTDIR: synthesises the game's sound effects into OUTDIR/Sounds.dxw and
// composes its music into OUTDIR/theme1.mid to theme3.mid.

#include "tools/soundgen/Generator.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorbix-soundgen OUTDIR\n");
        return 2;
    }
    try {
        WriteGameAudio(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zorbix-soundgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
