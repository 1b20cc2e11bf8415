#pragma once
// What the high-score table's name entry lets through, as it is typed or pasted: the text
// composed (NFC, so that a letter followed by a combining accent becomes the one letter the
// table holds) and kept to the characters the table can store and that print (NameCodePage.h).
// What the player sees in the box is what is stored.

#include <QString>
#include <QValidator>

#include <string>
#include <string_view>

QString StorableName(const QString& text);
// The bytes that store a name StorableName has passed.
std::string StoredNameBytes(const QString& name);
// The text of a stored name.
QString StoredNameText(std::string_view bytes);

class TNameValidator final : public QValidator {
public:
    using QValidator::QValidator;
    // Drops what the table cannot hold from `input`, keeping the cursor after what was
    // typed before it; every text is then acceptable.
    State validate(QString& input, int& pos) const override;
};
