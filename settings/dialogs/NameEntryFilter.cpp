#include "settings/dialogs/NameEntryFilter.h"

#include "settings/NameCodePage.h"

#include <algorithm>

QString StorableName(const QString& text) {
    QString kept;
    for (const char32_t character : text.normalized(QString::NormalizationForm_C).toUcs4()) {
        if (StoredNameByte(character)) {
            kept.append(QString::fromUcs4(&character, 1));
        }
    }
    return kept;
}

std::string StoredNameBytes(const QString& name) {
    std::string bytes;
    for (const char32_t character : name.toUcs4()) {
        if (const auto byte = StoredNameByte(character)) {
            bytes.push_back(static_cast<char>(*byte));
        }
    }
    return bytes;
}

QString StoredNameText(std::string_view bytes) {
    QString text;
    for (const char byte : bytes) {
        const char32_t character = NameByteCharacter(static_cast<std::uint8_t>(byte));
        text.append(QString::fromUcs4(&character, 1));
    }
    return text;
}

QValidator::State TNameValidator::validate(QString& input, int& pos) const {
    const QString kept = StorableName(input);
    if (kept != input) {
        pos = static_cast<int>(std::min(StorableName(input.left(pos)).size(), kept.size()));
        input = kept;
    }
    return Acceptable;
}
