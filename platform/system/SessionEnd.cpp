#include "platform/system/SessionEnd.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <xcb/xcb.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace {

constexpr std::array<int, 3> SessionSignals{SIGTERM, SIGHUP, SIGINT};

// The write end of the watch's pipe, for the signal handler; -1 without a watch.
volatile sig_atomic_t SignalWriteEnd = -1;

void OnSessionSignal(int signal) {
    const int saved = errno;
    const auto byte = static_cast<char>(signal);
    if (SignalWriteEnd >= 0) {
        // A full pipe already holds a request; nothing is lost by dropping this one.
        [[maybe_unused]] const ssize_t written = write(SignalWriteEnd, &byte, 1);
    }
    errno = saved;
}

void SetSessionSignalAction(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : SessionSignals) {
        sigaction(signal, &action, nullptr);
    }
}

} // namespace

TSessionEndWatch::TSessionEndWatch(std::function<void()> onEnd) : OnEnd(std::move(onEnd)) {
    if (pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the session's signals keep their default actions
    }
    Notifier = std::make_unique<QSocketNotifier>(SignalPipe[0], QSocketNotifier::Read);
    connect(Notifier.get(), &QSocketNotifier::activated, this, &TSessionEndWatch::SignalArrived);
    SignalWriteEnd = SignalPipe[1];
    SetSessionSignalAction(OnSessionSignal);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

TSessionEndWatch::~TSessionEndWatch() {
    QCoreApplication::instance()->removeNativeEventFilter(this);
    if (SignalPipe[0] >= 0) {
        SetSessionSignalAction(SIG_DFL);
        SignalWriteEnd = -1;
        Notifier.reset();
        close(SignalPipe[0]);
        close(SignalPipe[1]);
    }
}

void TSessionEndWatch::WatchWindow(QWidget* window) {
    WatchedWindow = window;
}

void TSessionEndWatch::SignalArrived() {
    std::array<char, 16> drained{};
    while (read(SignalPipe[0], drained.data(), drained.size()) > 0) {
    }
    SetSessionSignalAction(SIG_DFL);
    if (!Ended) {
        Ended = true;
        OnEnd();
    }
}

bool TSessionEndWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (WatchedWindow == nullptr || Ended || eventType != "xcb_generic_event_t") {
        return false;
    }
    // The window's present native window: one the toolkit replaced itself does not count.
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) == XCB_DESTROY_NOTIFY &&
        static_cast<const xcb_destroy_notify_event_t*>(message)->window ==
            WatchedWindow->internalWinId()) {
        Ended = true;
        // Not from inside the toolkit's event handling: the close comes once it has returned.
        QMetaObject::invokeMethod(
            this, [this] { OnEnd(); }, Qt::QueuedConnection);
    }
    return false;
}
