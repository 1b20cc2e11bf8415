#pragma once
// The application's idle notification with its Done flag, and its activation and
// deactivation. The idle handler runs whenever this thread's event queue has run empty: in
// the main event loop and in the nested loop of every modal dialog and message box alike,
// also when the handler itself opened that dialog. With Done left true the next call waits
// for the next event; with Done set false it follows at once. User-interface thread only.

#include <QObject>

#include <functional>

class QAbstractEventDispatcher;

class TApplicationEvents final : public QObject {
    Q_OBJECT
public:
    // Receives Done as true and may set it false.
    using TIdleHandler = std::function<void(bool& done)>;

    explicit TApplicationEvents(TIdleHandler onIdle, QObject* parent = nullptr);

    // Idle calls begin with the next time the queue runs empty, and end with Stop.
    void Start();
    void Stop();

signals:
    void ApplicationActivated();
    void ApplicationDeactivated();

private:
    void QueueRanEmpty();

    TIdleHandler OnIdle;
    QAbstractEventDispatcher* Dispatcher = nullptr;
    QMetaObject::Connection IdleConnection;
};
