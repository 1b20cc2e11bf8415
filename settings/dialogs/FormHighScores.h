#pragma once
// The high-score dialog: the five rows of the table, the name box for a new entry, and the
// buttons to confirm (OK), cancel, clear the table, and share results by mail or fetch a
// shared table from the web site. Creating it creates the one ScoreTable, reads
// "HiScores.dat" (an error there is reported and the defaults stay) and shows the rows.
// Destroying it detaches it from the table. User-interface thread only.

#include "settings/HighScoreDialog.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

class TFormHighScores final : public QDialog, public IHighScoreDialog {
    Q_OBJECT
public:
    explicit TFormHighScores(QWidget* parent = nullptr);
    ~TFormHighScores() override;

    void ShowRow(int rank, const std::string& name, const std::string& scoreText) override;
    int NameLabelTop(int rank) const override;
    void ShowNameEditor(int top) override;
    void ClearNameEditor() override;
    void SetTag(int tag) override;
    void ShowModal() override;

    // OK: names the new entry (when Tag is a rank) and writes the table.
    void Button1Click();
    // Clear, after the player confirms it.
    void Button3Click();
    // Send results by mail.
    void Button4Click();
    // Load results from the web site; then closes as OK without naming or writing anything.
    void Button5Click();

    // 0 when opened from the menu, else the rank of the new entry awaiting its name.
    int Tag = 0;

    QLineEdit* EditName = nullptr;
    std::array<QLabel*, 5> NameLabels{};
    std::array<QLabel*, 5> ScoreLabels{};
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void FormCreate();
};
