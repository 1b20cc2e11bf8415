// Where the music's SoundFont comes from: each place in order, the next one when a file is
// missing, and silence (no SoundFont) when all are.

#include "platform/mci/SoundFontSearch.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {
class SoundFontSearchTest : public ::testing::Test {
protected:
    SoundFontSearchTest() {
        std::string pattern = std::filesystem::temp_directory_path() / "zorbix-sf-XXXXXX";
        Root = mkdtemp(pattern.data());
    }
    ~SoundFontSearchTest() override { std::filesystem::remove_all(Root); }

    std::string Place(const std::string& name) const { return (Root / name).string(); }
    std::string Made(const std::string& name) const {
        std::ofstream(Root / name) << "sfbk";
        return Place(name);
    }

    std::filesystem::path Root;
};
} // namespace

TEST_F(SoundFontSearchTest, TheFirstExistingPlaceWinsWithEachEarlierOneMissing) {
    const std::vector<std::string> names{"chosen.sf2", "fluid-default.sf2", "default-GM.sf2",
                                         "default-GM.sf3", "TimGM6mb.sf2"};
    std::vector<std::string> places;
    places.reserve(names.size());
    for (const std::string& name : names) {
        places.push_back(Place(name));
    }
    EXPECT_EQ(FirstSoundFont(places), "");
    // Made from the last place to the first: each time the earliest existing one is chosen.
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        Made(*name);
        EXPECT_EQ(FirstSoundFont(places), Place(*name));
    }
    // A place that is gone again is passed over for the next.
    std::filesystem::remove(Place(names[0]));
    EXPECT_EQ(FirstSoundFont(places), Place(names[1]));
}

TEST_F(SoundFontSearchTest, ADirectoryOrADanglingLinkIsNoSoundFont) {
    std::filesystem::create_directory(Root / "folder.sf2");
    std::filesystem::create_symlink(Root / "nowhere.sf2", Root / "dangling.sf2");
    const std::string real = Made("real.sf2");
    EXPECT_EQ(FirstSoundFont({Place("folder.sf2"), Place("dangling.sf2"), real}), real);
}

TEST_F(SoundFontSearchTest, TheVariableComesFirstAndTheDistributionFilesLastInTheirOrder) {
    const std::string chosen = Made("chosen.sf2");
    setenv("ZORBIX_SOUNDFONT", chosen.c_str(), 1);
    std::vector<std::string> places = SoundFontPlaces();
    ASSERT_GE(places.size(), 4u);
    EXPECT_EQ(places.front(), chosen);
    EXPECT_EQ(FirstSoundFont(places), chosen);
    const std::vector<std::string> distribution(places.end() - 3, places.end());
    EXPECT_EQ(distribution, (std::vector<std::string>{"/usr/share/sounds/sf2/default-GM.sf2",
                                                      "/usr/share/sounds/sf3/default-GM.sf3",
                                                      "/usr/share/sounds/sf2/TimGM6mb.sf2"}));

    // Unset or empty, the variable is no place at all.
    setenv("ZORBIX_SOUNDFONT", "", 1);
    places = SoundFontPlaces();
    EXPECT_EQ(std::count(places.begin(), places.end(), chosen), 0);
    EXPECT_EQ(std::count(places.begin(), places.end(), ""), 0);
    unsetenv("ZORBIX_SOUNDFONT");
}
