#pragma once
// The ways a desktop session ends a program from outside, turned into one request delivered on
// the user-interface thread, so the program can close as its window's close would: SIGTERM
// (a logout), SIGHUP (the terminal closed), SIGINT (Ctrl+C), and, on X11, the main window
// destroyed by another client (a crashing window manager). After the first signal the
// default actions are back, so a second one ends a program that no longer answers. One watch
// at a time; user-interface thread only.

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QSocketNotifier;

class TSessionEndWatch final : public QObject, public QAbstractNativeEventFilter {
public:
    explicit TSessionEndWatch(std::function<void()> onEnd);
    ~TSessionEndWatch() override;
    TSessionEndWatch(const TSessionEndWatch&) = delete;
    TSessionEndWatch& operator=(const TSessionEndWatch&) = delete;

    // Also ends the session when `window`'s native window is destroyed by someone else; call
    // it once the window exists.
    void WatchWindow(QWidget* window);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    void SignalArrived();

    std::function<void()> OnEnd;
    int SignalPipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> Notifier;
    QPointer<QWidget> WatchedWindow;
    bool Ended = false;
};
