#include "platform/dsound/LibraryChatter.h"

#include <dlfcn.h>

namespace {
// The sound card library's error handler, as its header declares it.
using TErrorHandler = void (*)(const char* file, int line, const char* function, int error,
                               const char* format, ...);
using TSetErrorHandler = int (*)(TErrorHandler handler);

void IgnoreError(const char*, int, const char*, int, const char*, ...) {}

// Held for the life of the process, so SDL's later load of the library finds this instance
// with its handler set.
void* SoundCardLibrary = nullptr;
} // namespace

void SilenceSoundCardLibrary() {
    if (SoundCardLibrary != nullptr) {
        return;
    }
    SoundCardLibrary = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (SoundCardLibrary == nullptr) {
        return;
    }
    if (auto set = reinterpret_cast<TSetErrorHandler>(
            dlsym(SoundCardLibrary, "snd_lib_error_set_handler"))) {
        set(&IgnoreError);
    }
}
