#include "settings/dialogs/AboutBox.h"

#include "core/BuildInfo.h"
#include "platform/files/GameFilePlaces.h"
#include "settings/dialogs/BevelPanel.h"
#include "settings/dialogs/DialogLayout.h"
#include "settings/dialogs/LinkLabel.h"
#include "settings/dialogs/WebLinks.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr int AboutClientWidth = 298;
constexpr int AboutClientHeight = 191;
constexpr int IconSize = 64;
constexpr int ProductNamePixels = 16;

// A picture larger than its room where there is one, so the scaled one stays sharp.
QPixmap LoadProgramIcon(const QSize& room) {
    for (const char* name : {"icon128.png", "icon256.png", "icon64.png", "icon48.png"}) {
        const QPixmap picture(
            QString::fromStdString(GameFilePlaces().DataDirectory + "Images/" + name));
        if (!picture.isNull()) {
            return picture.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
    }
    return {};
}
} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    TDialogLayout layout(this, QStringLiteral("About"), AboutClientWidth, AboutClientHeight);

    auto* panel = new TBevelPanel(this);
    layout.Place(panel, 8, 8, 281, 89);

    ProgramIcon = new QLabel(panel);
    ProgramIcon->setAlignment(Qt::AlignCenter);
    layout.Place(ProgramIcon, 9, 12, IconSize, IconSize);
    ProgramIcon->setPixmap(LoadProgramIcon(ProgramIcon->size()));

    QFont nameFont = font();
    nameFont.setBold(true);
    nameFont.setPixelSize(layout.Down(ProductNamePixels));
    ProductName = new QLabel(QStringLiteral("Zorbix"), panel);
    ProductName->setFont(nameFont);
    layout.Place(ProductName, 88, 12, 180, 20);
    Version = new QLabel(QStringLiteral("Version ") +
                             QString::fromUtf8(GameShortVersion.data(),
                                               static_cast<qsizetype>(GameShortVersion.size())),
                         panel);
    layout.Place(Version, 88, 36, 180, 13);
    // The site without its scheme, as people write it.
    const std::string_view host = MakerSite.substr(MakerSite.find("//") + 2);
    Copyright =
        new TLinkLabel(QStringLiteral("Freeware\n") +
                           QString::fromUtf8(host.data(), static_cast<qsizetype>(host.size())),
                       panel);
    layout.Place(Copyright, 88, 54, 190, 28);
    connect(Copyright, &TLinkLabel::Clicked, this, &TAboutBox::CopyrightClick);

    Label1 = new TLinkLabel(QStringLiteral("If you like this game, check our new game QUILLON.\n"
                                           "QUILLON game has three games in one \n"
                                           "and 150 game levels."),
                            this);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    layout.Place(Label1, 16, 104, 273, 41);
    connect(Label1, &TLinkLabel::Clicked, this, &TAboutBox::Label1Click);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    layout.Place(OKButton, 111, 158, 75, 25);
    layout.Finish();
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TAboutBox::CopyrightClick() {
    OpenGameHomePage();
}

void TAboutBox::Label1Click() {
    if (QuillonHandler) {
        QuillonHandler();
    }
}
