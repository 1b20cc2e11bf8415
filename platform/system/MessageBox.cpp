#include "platform/system/MessageBox.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {

// How much wider a title bar's face writes a caption than the box's own, in percent, and the
// room its buttons take.
constexpr int CaptionFaceGrowth = 130;
constexpr int TitleBarButtonsWidth = 120;
constexpr std::uint32_t ButtonsMask = 0x0F;
constexpr std::uint32_t IconMask = 0xF0;

TMessageBoxHook MessageBoxHook;

QMessageBox::Icon BoxIcon(std::uint32_t type) {
    switch (type & IconMask) {
    case MB_ICONERROR:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONWARNING:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}
} // namespace

int MessageBox(QWidget* owner, const std::string& text, const std::string& caption,
               std::uint32_t type) {
    if (MessageBoxHook) {
        return MessageBoxHook({owner, text, caption, type});
    }
    const bool yesNo = (type & ButtonsMask) == MB_YESNO;
    QMessageBox box(BoxIcon(type), QString::fromStdString(caption), QString::fromStdString(text),
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    // Texts carry paths, file contents and system errors: shown as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    // The window manager draws the caption in the title bar and cuts it short in a box sized
    // for a short text ("Disk full"): the box takes the caption's width, in a title bar's
    // larger bold face, and room for the bar's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int captionWidth =
            box.fontMetrics().horizontalAdvance(QString::fromStdString(caption)) *
                CaptionFaceGrowth / 100 +
            TitleBarButtonsWidth;
        grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    const int pressed = box.exec();
    if (!yesNo) {
        return IDOK;
    }
    return pressed == QMessageBox::Yes ? IDYES : IDNO;
}

void SetMessageBoxHook(TMessageBoxHook hook) {
    MessageBoxHook = std::move(hook);
}
