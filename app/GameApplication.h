#pragma once
// The application object of the game's window. It carries the game's name, version,
// organisation domain and desktop file name; an error that escapes an event handler ends in
// the general error box instead of ending the program.

#include <QApplication>
#include <QIcon>

class TGameApplication final : public QApplication {
public:
    // Takes the window toolkit's own switches out of the arguments.
    TGameApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The game's icon in every size the data directory holds; after the application exists.
QIcon GameIcon();
