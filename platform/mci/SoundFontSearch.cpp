#include "platform/mci/SoundFontSearch.h"

#include <fluidsynth.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {
constexpr const char* SoundFontVariable = "ZORBIX_SOUNDFONT";
constexpr const char* DistributionSoundFonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
};

std::string FluidDefaultSoundFont() {
    fluid_settings_t* settings = new_fluid_settings();
    if (settings == nullptr) {
        return {};
    }
    char* value = nullptr;
    std::string found;
    if (fluid_settings_dupstr(settings, "synth.default-soundfont", &value) == FLUID_OK &&
        value != nullptr) {
        found = value;
    }
    fluid_free(value);
    delete_fluid_settings(settings);
    return found;
}
} // namespace

std::vector<std::string> SoundFontPlaces() {
    std::vector<std::string> places;
    if (const char* chosen = std::getenv(SoundFontVariable); chosen != nullptr && *chosen != 0) {
        places.emplace_back(chosen);
    }
    if (std::string fluidDefault = FluidDefaultSoundFont(); !fluidDefault.empty()) {
        places.push_back(std::move(fluidDefault));
    }
    places.insert(places.end(), std::begin(DistributionSoundFonts),
                  std::end(DistributionSoundFonts));
    return places;
}

std::string FirstSoundFont(const std::vector<std::string>& places) {
    for (const std::string& place : places) {
        std::error_code error;
        // A dangling distribution link, a directory or an unreadable file is passed over.
        if (std::filesystem::is_regular_file(place, error) && access(place.c_str(), R_OK) == 0) {
            return place;
        }
    }
    return {};
}
