// Any text typed or pasted into the name entry: what the filter keeps is composed, printable
// and storable, keeps itself when filtered again, and is read back from the table exactly.

#include "settings/NameCodePage.h"
#include "settings/dialogs/NameEntryFilter.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString typed =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString kept = StorableName(typed);
    for (const char32_t character : kept.toUcs4()) {
        if (!StoredNameByte(character)) {
            __builtin_trap();
        }
    }
    if (StorableName(kept) != kept || StoredNameText(StoredNameBytes(kept)) != kept ||
        kept.normalized(QString::NormalizationForm_C) != kept) {
        __builtin_trap();
    }
    return 0;
}
