#pragma once
// Message boxes shaped like the system call the game was written for: a text (lines split by
// line feeds), a caption, one button set and one icon, owned by a window or by none. The box
// is modal and returns the button that closed it. User-interface thread only.

#include <cstdint>
#include <functional>
#include <string>

class QWidget;

// Button sets.
constexpr std::uint32_t MB_OK = 0x00;
constexpr std::uint32_t MB_YESNO = 0x04;
// Icons.
constexpr std::uint32_t MB_ICONERROR = 0x10;
constexpr std::uint32_t MB_ICONQUESTION = 0x20;
constexpr std::uint32_t MB_ICONWARNING = 0x30;
constexpr std::uint32_t MB_ICONINFORMATION = 0x40;

// The buttons that close a box.
constexpr int IDOK = 1;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

struct TMessageBoxCall {
    QWidget* Owner = nullptr;
    std::string Text;
    std::string Caption;
    std::uint32_t Type = MB_OK;
};

// Shows the box and waits until it is closed; returns IDOK, IDYES or IDNO. Texts are UTF-8.
int MessageBox(QWidget* owner, const std::string& text, const std::string& caption,
               std::uint32_t type);

// Answers boxes in place of the user (tests): while a hook is set no box is shown and
// MessageBox returns what the hook returns. An empty function shows real boxes again.
using TMessageBoxHook = std::function<int(const TMessageBoxCall& call)>;
void SetMessageBoxHook(TMessageBoxHook hook);
