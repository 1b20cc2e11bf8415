// The idle driver: calls follow at once while Done is false, wait for an event while it is
// true, and go on inside the nested loops of modal dialogs, also one the handler opened.

#include "app/ApplicationEvents.h"
#include "tests/app/EventLoop.h"

#include <QCoreApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
// A lower bound far below what any machine delivers in the time given, and far above the
// handful of calls a loop that waits for events would make.
constexpr int ManyCalls = 50;
constexpr int FewCalls = 5;

int RunDialogFor(int milliseconds) {
    QDialog dialog;
    QTimer::singleShot(milliseconds, &dialog, &QDialog::accept);
    return dialog.exec();
}
} // namespace

TEST(ApplicationEventsTest, CallsFollowAtOnceWhileDoneIsFalse) {
    int calls = 0;
    TApplicationEvents events([&](bool& done) {
        ++calls;
        done = false;
    });
    events.Start();
    RunEventLoop(200);
    EXPECT_GT(calls, ManyCalls);
}

TEST(ApplicationEventsTest, CallsWaitForTheNextEventWhileDoneStaysTrue) {
    int calls = 0;
    TApplicationEvents events([&](bool&) { ++calls; });
    events.Start();
    RunEventLoop(200);
    EXPECT_LT(calls, FewCalls);

    const int before = calls;
    QObject receiver;
    for (int event = 0; event < 3; ++event) {
        QTimer::singleShot(10 * (event + 1), &receiver, [] {});
    }
    RunEventLoop(100);
    EXPECT_GT(calls, before);
    EXPECT_LT(calls, before + 3 * FewCalls);
}

TEST(ApplicationEventsTest, NoCallsAfterStop) {
    int calls = 0;
    TApplicationEvents events([&](bool& done) {
        ++calls;
        done = false;
    });
    events.Start();
    RunEventLoop(50);
    events.Stop();
    const int stoppedAt = calls;
    RunEventLoop(100);
    EXPECT_EQ(calls, stoppedAt);
}

TEST(ApplicationEventsTest, CallsGoOnInsideAModalDialog) {
    int calls = 0;
    TApplicationEvents events([&](bool& done) {
        ++calls;
        done = false;
    });
    events.Start();
    RunDialogFor(200);
    EXPECT_GT(calls, ManyCalls);
}

TEST(ApplicationEventsTest, HandlerIsEnteredAgainFromTheDialogItOpens) {
    int depth = 0;
    int nestedCalls = 0;
    bool dialogShown = false;
    TApplicationEvents events([&](bool& done) {
        done = false;
        if (depth > 0) {
            ++nestedCalls;
            return;
        }
        if (!dialogShown) {
            dialogShown = true;
            ++depth;
            RunDialogFor(200);
            --depth;
        }
    });
    events.Start();
    RunEventLoopUntil([&] { return dialogShown && depth == 0; });
    EXPECT_GT(nestedCalls, ManyCalls);
}
