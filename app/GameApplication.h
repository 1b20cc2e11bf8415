#pragma once
// The application object of the game's window. An error that escapes an event handler ends
// in the general error box instead of ending the program.

#include <QApplication>

class TGameApplication final : public QApplication {
public:
    TGameApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};
