#include "app/ApplicationEvents.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QThread>

TApplicationEvents::TApplicationEvents(TIdleHandler onIdle, QObject* parent)
    : QObject(parent), OnIdle(std::move(onIdle)) {
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) {
                    emit ApplicationActivated();
                } else {
                    emit ApplicationDeactivated();
                }
            });
}

void TApplicationEvents::Start() {
    if (IdleConnection) {
        return;
    }
    // Every event loop of the thread, a dialog's nested one included, tells the thread's one
    // dispatcher before it waits for more events: the moment the queue has run empty. A
    // zero-interval timer would not do: its slot is not entered again while it runs a dialog.
    Dispatcher = QAbstractEventDispatcher::instance(thread());
    IdleConnection = connect(Dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                             &TApplicationEvents::QueueRanEmpty, Qt::DirectConnection);
    // The first call should not wait for an event either.
    Dispatcher->wakeUp();
}

void TApplicationEvents::Stop() { disconnect(IdleConnection); }

void TApplicationEvents::QueueRanEmpty() {
    bool done = true;
    OnIdle(done);
    if (!done && IdleConnection) {
        // Keeps the loop from blocking: it looks at the queue once more and then comes back.
        Dispatcher->wakeUp();
    }
}
