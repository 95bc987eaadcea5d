#include <gtest/gtest.h>

#include <map>
#include <string>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "QtMainLoop.h"
#include "QtTestLoop.h"

namespace lumivoke::desktop {
namespace {

using testing_support::ensureQtApplication;

bool runUntil(const std::function<bool()>& done) {
    return testing_support::turnLoopUntil(done, std::chrono::seconds(2));
}

class QtMainLoopTest : public testing::Test {
protected:
    QtMainLoopTest() { ensureQtApplication(); }
    QtMainLoop loop;
};

TEST_F(QtMainLoopTest, RaisesRunAfterTheCallInTheOrderRaisedOncePerRaise) {
    std::string order;
    auto a = loop.makeSignal([&] { order += 'a'; });
    auto b = loop.makeSignal([&] { order += 'b'; });
    a->raise();
    b->raise();
    a->raise();
    EXPECT_EQ(order, "") << "a raise never runs inside the call";
    ASSERT_TRUE(runUntil([&] { return order.size() >= 3; })) << order;
    EXPECT_EQ(order, "aba");
    b->raise();
    ASSERT_TRUE(runUntil([&] { return order.size() >= 4; })) << "raised again after it ran";
    EXPECT_EQ(order, "abab");
}

TEST_F(QtMainLoopTest, DestroyingASignalWithdrawsItsPendingRuns) {
    // The withdrawn signal x waits first, in the middle or last of the list; what is raised
    // after it went must still join the list at its end.
    for (const std::string raised : {"xab", "axb", "abx"}) {
        std::string order;
        std::map<char, std::unique_ptr<LoopSignal>> named;
        for (const char name : std::string("abcx")) {
            named[name] = loop.makeSignal([&order, name] { order += name; });
        }
        for (const char name : raised) {
            named[name]->raise();
        }
        named['x']->raise();
        named.erase('x');
        named['c']->raise();
        ASSERT_TRUE(runUntil([&] { return order.size() >= 3; })) << raised << ": " << order;
        EXPECT_EQ(order, "abc") << raised;
    }
}

TEST_F(QtMainLoopTest, ARaiseFromTheWorkRunsOnALaterTurnNotInside) {
    int runs = 0;
    int depth = 0;
    int deepest = 0;
    std::unique_ptr<LoopSignal> signal;
    signal = loop.makeSignal([&] {
        deepest = std::max(deepest, ++depth);
        if (++runs < 3) {
            signal->raise();
        }
        --depth;
    });
    signal->raise();
    ASSERT_TRUE(runUntil([&] { return runs == 3; })) << runs;
    EXPECT_EQ(deepest, 1);
}

TEST_F(QtMainLoopTest, WorkMayDestroyItsOwnSignalAndStillUseWhatItHolds) {
    std::vector<int> seen;
    std::unique_ptr<LoopSignal> signal;
    signal = loop.makeSignal([&, held = std::make_shared<int>(7)] {
        signal->raise();
        signal.reset();
        seen.push_back(*held);
    });
    auto other = loop.makeSignal([&] { seen.push_back(0); });
    signal->raise();
    other->raise();
    ASSERT_TRUE(runUntil([&] { return seen.size() >= 2; }));
    EXPECT_EQ(seen, (std::vector<int>{7, 0}));
}

TEST_F(QtMainLoopTest, RunsInsideANestedEventLoop) {
    // A modal dialog runs its own loop; a tap raised meanwhile must not wait for it to close.
    bool ran = false;
    bool timedOut = false;
    QEventLoop nested;
    auto signal = loop.makeSignal([&] {
        ran = true;
        nested.quit();
    });
    loop.post([&] {
        signal->raise();
        QTimer::singleShot(2000, &nested, [&] {
            timedOut = true;
            nested.quit();
        });
        nested.exec();
    });
    ASSERT_TRUE(runUntil([&] { return ran || timedOut; }));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(timedOut);
}

TEST(QtMainLoopLifetime, ASignalMayOutliveItsLoop) {
    ensureQtApplication();
    int runs = 0;
    auto loop = std::make_unique<QtMainLoop>();
    auto signal = loop->makeSignal([&] { ++runs; });
    signal->raise();
    loop.reset();
    signal->raise();
    QCoreApplication::processEvents();
    signal.reset();
    EXPECT_EQ(runs, 0);
}

}  // namespace
}  // namespace lumivoke::desktop
