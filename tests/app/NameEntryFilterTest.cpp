// The name entry stores what the player sees: composed accents, only what the table's code
// page holds and prints, and every byte of an existing table read as that code page.

#include "settings/dialogs/NameEntryFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

TEST(NameEntryFilter, KeepsWhatTheTableHoldsAndComposesAccents) {
    const std::vector<std::pair<QString, std::string>> typed{
        {QStringLiteral("Ann"), "Ann"},
        {QString::fromUtf8("Rene\xcc\x81"), "Ren\xe9"}, // e + combining acute
        {QString::fromUtf8("\xe2\x82\xac 5 \xe2\x80\x94 ok"), "\x80 5 \x97 ok"}, // euro, em dash
        {QString::fromUtf8("a\tb\x07\x1b\r\nc"), "abc"},           // control characters
        {QString::fromUtf8("x\xf0\x9f\x98\x80y\xce\xa9z"), "xyz"}, // emoji, Greek omega
        {QString::fromUtf8("so\xc2\xad"
                           "ft"),
         "soft"}, // soft hyphen
    };
    for (const auto& [text, stored] : typed) {
        const QString kept = StorableName(text);
        EXPECT_EQ(StoredNameBytes(kept), stored) << text.toStdString();
        EXPECT_EQ(StoredNameText(stored), kept) << text.toStdString();
    }
    // Bytes of older tables: the code page's letters, and a mark for what it leaves undefined.
    EXPECT_EQ(StoredNameText("\x80\x81\x07\xe9"),
              QString::fromUtf8("\xe2\x82\xac\xef\xbf\xbd\xef\xbf\xbd\xc3\xa9"));
}

TEST(NameEntryFilter, TheEditBoxRefusesWhatCannotBeStoredAsItIsTyped) {
    const TNameValidator validator;
    QString input = QString::fromUtf8("ab\xf0\x9f\x98\x80\tc");
    int cursor = 4; // after the emoji (two UTF-16 units) and before the tab
    EXPECT_EQ(validator.validate(input, cursor), QValidator::Acceptable);
    EXPECT_EQ(input, QStringLiteral("abc"));
    EXPECT_EQ(cursor, 2);
}
