#include "platform/mci/MciCommand.h"

#include <gtest/gtest.h>

TEST(MciCommand, TheGamesCommandStringsParseIntoTheirCommands) {
    TMciCommand command;
    ASSERT_EQ(
        ParseMciCommand("open sequencer!\"/home/a player/Zorbix!/theme2.mid\" alias mainback wait",
                        command),
        MCI_OK);
    EXPECT_EQ(command.Verb, TMciVerb::Open);
    EXPECT_EQ(command.FileName, "/home/a player/Zorbix!/theme2.mid");
    EXPECT_EQ(command.Device, "mainback");

    ASSERT_EQ(ParseMciCommand("seek mainback to 0", command), MCI_OK);
    EXPECT_EQ(command.Verb, TMciVerb::Seek);
    EXPECT_EQ(command.SeekTo, 0u);
    ASSERT_EQ(ParseMciCommand("seek mainback to 2500", command), MCI_OK);
    EXPECT_EQ(command.SeekTo, 2500u);

    ASSERT_EQ(ParseMciCommand("play mainback notify", command), MCI_OK);
    EXPECT_EQ(command.Verb, TMciVerb::Play);
    EXPECT_TRUE(command.Notify);
    ASSERT_EQ(ParseMciCommand("play mainback", command), MCI_OK);
    EXPECT_FALSE(command.Notify);

    ASSERT_EQ(ParseMciCommand("stop mainback", command), MCI_OK);
    EXPECT_EQ(command.Verb, TMciVerb::Stop);
    ASSERT_EQ(ParseMciCommand("close mainback", command), MCI_OK);
    EXPECT_EQ(command.Verb, TMciVerb::Close);

    // Words in any case, blanks around them not counted.
    ASSERT_EQ(ParseMciCommand("  OPEN Sequencer!theme1.mid   ALIAS MainBack\t", command), MCI_OK);
    EXPECT_EQ(command.FileName, "theme1.mid");
    EXPECT_EQ(command.Device, "mainback");
    ASSERT_EQ(ParseMciCommand("Seek MAINBACK To Start", command), MCI_OK);
    EXPECT_EQ(command.SeekTo, 0u);
}

TEST(MciCommand, MalformedCommandsAreRefusedWithTheirCodes) {
    const std::pair<const char*, MCIERROR> cases[] = {
        {"", MCIERR_MISSING_COMMAND_STRING},
        {"rewind mainback", MCIERR_UNRECOGNIZED_COMMAND},
        {"play", MCIERR_MISSING_DEVICE_NAME},
        {"open sequencer!\"theme1.mid alias mainback", MCIERR_NO_CLOSING_QUOTE},
        {"open waveaudio!theme1.mid alias mainback", MCIERR_INVALID_DEVICE_NAME},
        {"open theme1.mid alias mainback", MCIERR_INVALID_DEVICE_NAME},
        {"open sequencer!theme1.mid", MCIERR_MISSING_PARAMETER},
        {"open sequencer!\"\" alias mainback", MCIERR_MISSING_PARAMETER},
        {"open sequencer!theme1.mid alias", MCIERR_MISSING_STRING_ARGUMENT},
        {"open sequencer!theme1.mid alias mainback shareable", MCIERR_UNRECOGNIZED_KEYWORD},
        {"seek mainback", MCIERR_MISSING_PARAMETER},
        {"seek mainback to", MCIERR_MISSING_PARAMETER},
        {"seek mainback to -5", MCIERR_BAD_INTEGER},
        {"seek mainback to 99999999999", MCIERR_BAD_INTEGER},
        {"seek mainback to 12ab", MCIERR_BAD_INTEGER},
        {"play mainback wait", MCIERR_UNSUPPORTED_FUNCTION},
        {"play mainback to 0", MCIERR_UNRECOGNIZED_KEYWORD},
        {"stop mainback notify", MCIERR_UNRECOGNIZED_KEYWORD},
    };
    for (const auto& [text, code] : cases) {
        TMciCommand command;
        EXPECT_EQ(ParseMciCommand(text, command), code) << text;
    }
}
