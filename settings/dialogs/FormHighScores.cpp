#include "settings/dialogs/FormHighScores.h"

#include "platform/system/ApplicationError.h"
#include "platform/system/MessageBox.h"
#include "settings/Options.h"
#include "settings/ScoreTable.h"
#include "settings/dialogs/DialogLayout.h"
#include "settings/dialogs/NameEntryFilter.h"
#include "settings/dialogs/WebLinks.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int ClientWidth = 321;
constexpr int ClientHeight = 246;
constexpr int RowTop = 40;
constexpr int RowPitch = 26;
constexpr int LineHeight = 13;
constexpr int NameLeft = 64;
constexpr int NameWidth = 190;
constexpr int ScoreLeft = 256;
constexpr int ScoreWidth = 30;
constexpr int ButtonHeight = 21;

QPushButton* MakeButton(const QString& caption, QWidget* parent, TDialogLayout& layout, int left,
                        int top, int width) {
    auto* button = new QPushButton(caption, parent);
    layout.Place(button, left, top, width, ButtonHeight);
    button->setAutoDefault(false);
    return button;
}
} // namespace

TFormHighScores::TFormHighScores(QWidget* parent) : QDialog(parent) {
    TDialogLayout layout(this, QStringLiteral("High Scores"), ClientWidth, ClientHeight);

    // First in the tab order: when shown for a new entry it takes the focus.
    EditName = new QLineEdit(this);
    EditName->setValidator(new TNameValidator(EditName));
    layout.PlaceOver(EditName, NameLeft, RowTop - 6, 177, 21);
    EditName->hide();

    auto* header = new QLabel(
        QStringLiteral("Rank         Name                                                        "
                       "Score"),
        this);
    layout.Place(header, 16, 16, 277, LineHeight);
    for (std::size_t row = 0; row < NameLabels.size(); ++row) {
        const int top = RowTop + static_cast<int>(row) * RowPitch;
        auto* rank = new QLabel(QStringLiteral("%1.").arg(row + 1), this);
        layout.Place(rank, 24, top, 30, LineHeight);
        NameLabels[row] = new QLabel(this);
        layout.Place(NameLabels[row], NameLeft, top, NameWidth, LineHeight);
        ScoreLabels[row] = new QLabel(this);
        layout.Place(ScoreLabels[row], ScoreLeft, top, ScoreWidth, LineHeight);
        ScoreLabels[row]->setAlignment(Qt::AlignRight | Qt::AlignTop);
    }
    EditName->raise();

    Button1 = MakeButton(QStringLiteral("&OK"), this, layout, 23, 184, 75);
    Button1->setAutoDefault(true);
    Button1->setDefault(true);
    Button2 = MakeButton(QStringLiteral("&Cancel"), this, layout, 123, 184, 75);
    Button3 = MakeButton(QStringLiteral("C&lear"), this, layout, 223, 184, 75);
    Button4 = MakeButton(QStringLiteral("&Send results to Internet"), this, layout, 23, 216, 134);
    Button5 =
        MakeButton(QStringLiteral("&Load results from Internet"), this, layout, 163, 216, 134);
    layout.Finish();

    // The dialog closes as its buttons say even when their handler reports an error.
    connect(Button1, &QPushButton::clicked, this, [this] {
        RunReportingErrors([this] { Button1Click(); });
        accept();
    });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this,
            [this] { RunReportingErrors([this] { Button3Click(); }); });
    connect(Button4, &QPushButton::clicked, this,
            [this] { RunReportingErrors([this] { Button4Click(); }); });
    connect(Button5, &QPushButton::clicked, this, [this] {
        RunReportingErrors([this] { Button5Click(); });
        accept();
    });

    FormCreate();
}

TFormHighScores::~TFormHighScores() {
    if (ScoreTable) {
        ScoreTable->AttachDialog(nullptr);
    }
}

void TFormHighScores::FormCreate() {
    ScoreTable = std::make_unique<TScoreTable>();
    ScoreTable->AttachDialog(this);
    // A table that cannot be read is reported; the defaults are shown instead.
    RunReportingErrors([] { ScoreTable->LoadTable(); });
    ScoreTable->ShowTable();
}

void TFormHighScores::ShowRow(int rank, const std::string& name, const std::string& scoreText) {
    const auto row = static_cast<std::size_t>(rank - 1);
    NameLabels.at(row)->setText(StoredNameText(name));
    ScoreLabels.at(row)->setText(QString::fromStdString(scoreText));
}

int TFormHighScores::NameLabelTop(int rank) const {
    return NameLabels.at(static_cast<std::size_t>(rank - 1))->y();
}

void TFormHighScores::ShowNameEditor(int top) {
    EditName->move(EditName->x(), top);
    EditName->show();
}

void TFormHighScores::ClearNameEditor() {
    EditName->clear();
}

void TFormHighScores::SetTag(int tag) {
    Tag = tag;
}

void TFormHighScores::ShowModal() {
    if (!EditName->isHidden()) {
        EditName->setFocus();
    } else {
        Button1->setFocus();
    }
    exec();
}

void TFormHighScores::Button1Click() {
    if (Tag != 0) {
        const bool normal = Options && Options->Difficulty == 1;
        EditName->setText(EditName->text() +
                          (normal ? QStringLiteral(" (normal)") : QStringLiteral(" (easy)")));
        ScoreTable->StoreName(Tag, StoredNameBytes(StorableName(EditName->text())));
    }
    ScoreTable->SaveTable();
}

void TFormHighScores::Button3Click() {
    if (MessageBox(this, "Clear scores table?", "Confirm", MB_YESNO | MB_ICONQUESTION) == IDYES) {
        ScoreTable->ClearTable();
    }
}

void TFormHighScores::Button4Click() {
    MessageBox(this,
               "Please, attach file \"hiscores.dat\" from the game directory and send it to " +
                   std::string(HighScoreMailAddress) + ".",
               ApplicationTitle(), MB_OK);
    OpenHighScoreMail();
}

void TFormHighScores::Button5Click() {
    MessageBox(this,
               "Please, download file \"hiscores.dat\" from our website and save it in the game "
               "directory.",
               ApplicationTitle(), MB_OK);
    OpenSharedHighScores();
}

void TFormHighScores::hideEvent(QHideEvent* event) {
    EditName->hide();
    QDialog::hideEvent(event);
}
