#pragma once
// What the high-score table needs of its dialog. The window that implements it owns the rows
// of labels (name1..name5, score1..Score5), the name box EditName and the Tag that tells why
// it is open; the table fills them, places the box and opens the dialog modally.

#include <string>

class IHighScoreDialog {
public:
    virtual ~IHighScoreDialog() = default;

    // Shows one row: `rank` 1..5, the name as stored (NameCodePage.h), the score as
    // decimal text.
    virtual void ShowRow(int rank, const std::string& name, const std::string& scoreText) = 0;
    // The top, in pixels, of the name label of `rank` 1..5.
    virtual int NameLabelTop(int rank) const = 0;
    // Makes the name box visible with its top at `top` pixels.
    virtual void ShowNameEditor(int top) = 0;
    // Empties the text of the name box.
    virtual void ClearNameEditor() = 0;
    // 0 when opened from the menu, else the rank (1..5) of the new entry awaiting its name.
    virtual void SetTag(int tag) = 0;
    // Runs the dialog modally and returns when it has closed, however it was closed. Its
    // own buttons call back into the table (StoreName, SaveTable, ClearTable).
    virtual void ShowModal() = 0;
};
