#pragma once
// The about box: the game's icon, name, version and the maker's notice (a click opens the
// game's home page), and the advertisement for the maker's other game (a click runs the
// handler the main window gives, which opens that game's page). Closed by OK or Enter.

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class TLinkLabel;

class TAboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Opens the game's home page; the main menu's home-page command calls it too.
    void CopyrightClick();
    // Runs the handler set by SetQuillonHandler.
    void Label1Click();
    void SetQuillonHandler(std::function<void()> handler) { QuillonHandler = std::move(handler); }

    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    TLinkLabel* Copyright = nullptr;
    TLinkLabel* Label1 = nullptr;
    QPushButton* OKButton = nullptr;

private:
    std::function<void()> QuillonHandler;
};
