#include "tests/app/EventLoop.h"

#include <QEventLoop>
#include <QTimer>

namespace {
constexpr int PollMs = 5;
}

void RunEventLoop(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool RunEventLoopUntil(const std::function<bool()>& done, int timeoutMs) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(PollMs);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    if (!done()) {
        loop.exec();
    }
    return done();
}

void WhenReady(const std::function<bool()>& ready, const std::function<void()>& action,
               int timeoutMs) {
    auto* poll = new QTimer;
    auto waited = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        *waited += PollMs;
        if (ready()) {
            poll->stop();
            poll->deleteLater();
            action();
        } else if (*waited > timeoutMs) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(PollMs);
}
