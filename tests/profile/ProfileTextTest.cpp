#include "platform/files/ProfileText.h"

#include <gtest/gtest.h>

// Guards where added lines go: inside their section, before the blank lines that part it
// from the next, and never glued onto a last line that has no line ending.
TEST(SetProfileValue, AddsAMissingKeyToItsSectionAndAMissingSectionAtTheEnd) {
    EXPECT_EQ(SetProfileValue("[Options]\nView=1\n\n[Other]\nA=1\n", "Options", "Music", "0"),
              "[Options]\nView=1\nMusic=0\n\n[Other]\nA=1\n");
    EXPECT_EQ(SetProfileValue("[Options]\r\nView=1", "Options", "Music", "0"),
              "[Options]\r\nView=1\r\nMusic=0");
    EXPECT_EQ(SetProfileValue("[Options]\n", "Options", "Music", "0"), "[Options]\nMusic=0\n");
    EXPECT_EQ(SetProfileValue("x=1", "Options", "View", "1"), "x=1\r\n[Options]\r\nView=1\r\n");
    EXPECT_EQ(SetProfileValue("", "Options", "View", "1"), "[Options]\r\nView=1\r\n");
    EXPECT_EQ(SetProfileValue("[A]\n", "Options", "View", "1"), "[A]\n[Options]\nView=1\n");
}

// Guards against a settings file some editors write: with a byte-order mark before the first
// section the settings were not read, and a second section was appended at every exit.
TEST(SetProfileValue, TakesALeadingByteOrderMarkAsAbsentAndKeepsIt) {
    const std::string text = "\xEF\xBB\xBF[Options]\r\nView=3\r\n";
    EXPECT_EQ(FindProfileValue(text, "Options", "View"), "3");
    EXPECT_EQ(SetProfileValue(text, "Options", "View", "1"), "\xEF\xBB\xBF[Options]\r\nView=1\r\n");
    EXPECT_EQ(SetProfileValue(text, "Options", "Music", "0"),
              "\xEF\xBB\xBF[Options]\r\nView=3\r\nMusic=0\r\n");
}

// Found by fuzzing: a second mark is text of the first line, and writing must not glue the
// added section onto it, where it could never be read back.
TEST(SetProfileValue, SetsAsideOnlyOneByteOrderMark) {
    const std::string twice = "\xEF\xBB\xBF\xEF\xBB\xBF";
    EXPECT_EQ(FindProfileValue(SetProfileValue(twice, "Options", "View", "3"), "Options", "View"),
              "3");
}
