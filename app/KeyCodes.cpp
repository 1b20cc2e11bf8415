#include "app/KeyCodes.h"

#include <QKeyEvent>

namespace {
constexpr std::uint16_t VK_SHIFT = 16;
constexpr std::uint16_t VK_CONTROL = 17;
constexpr std::uint16_t VK_MENU = 18;
constexpr std::uint16_t VK_PRIOR = 33;
constexpr std::uint16_t VK_NEXT = 34;
constexpr std::uint16_t VK_END = 35;
constexpr std::uint16_t VK_HOME = 36;
constexpr std::uint16_t VK_INSERT = 45;
constexpr std::uint16_t VK_DELETE = 46;
constexpr int FunctionKeyCount = 24;
constexpr char16_t DeleteCharacter = 0x7F;
} // namespace

std::uint16_t VirtualKeyCode(int qtKey) {
    // Letters and digits have their capital ASCII codes, as Qt's key values do.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return static_cast<std::uint16_t>(qtKey);
    }
    if (qtKey >= Qt::Key_F1 && qtKey < Qt::Key_F1 + FunctionKeyCount) {
        return static_cast<std::uint16_t>(VK_F1 + (qtKey - Qt::Key_F1));
    }
    switch (qtKey) {
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
        return VK_TAB;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        return 0;
    }
}

std::optional<char> KeyPressCharacter(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Escape:
        return static_cast<char>(VK_ESCAPE);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return static_cast<char>(VK_RETURN);
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty() || text.front().unicode() == DeleteCharacter) {
        return std::nullopt;
    }
    // The game reads 8-bit characters; anything wider still counts as a key press.
    const char16_t code = text.front().unicode();
    return code < 0x100 ? static_cast<char>(code) : '?';
}
