#include <gtest/gtest.h>

#include <optional>

#include "base/Published.h"
#include "base/VirtualMainLoop.h"

namespace lumivoke {
namespace {

TEST(Published, SynchronousSubscriberGetsTheCurrentValueFirstThenEveryAssignment) {
    Published<int> value(7);
    std::vector<int> seen;
    Token t = value.subscribe([&](const int& v) { seen.push_back(v); });
    value.set(7);
    value.set(8);
    EXPECT_EQ(seen, (std::vector<int>{7, 7, 8}));
}

TEST(Published, OnChangeNotifiesOnlyOnARealChange) {
    Published<bool> flag(false, Notify::onChange);
    std::vector<bool> seen;
    Token t = flag.subscribe([&](const bool& v) { seen.push_back(v); });
    flag.set(false);
    flag.set(true);
    flag.set(true);
    EXPECT_EQ(seen, (std::vector<bool>{false, true}));
}

TEST(Published, LaterTurnDeliveryCarriesEachAssignmentsOwnValue) {
    VirtualMainLoop loop;
    Published<std::optional<int>> value;
    std::vector<std::optional<int>> seen;
    Token t = value.subscribe(loop, [&](const std::optional<int>& v) { seen.push_back(v); });
    value.set(1);
    value.set(2);
    EXPECT_TRUE(seen.empty()) << "nothing is delivered inside the assignment";
    loop.runUntilIdle();
    EXPECT_EQ(seen, (std::vector<std::optional<int>>{std::nullopt, 1, 2}));
}

TEST(Published, EndingASubscriptionDropsDeliveriesStillInFlight) {
    VirtualMainLoop loop;
    Published<int> value;
    int calls = 0;
    Token t = value.subscribe(loop, [&](const int&) { ++calls; });
    value.set(1);
    t.cancel();
    loop.runUntilIdle();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(value.subscriberCount(), 0u);
}

TEST(Published, SubscriberRemovedDuringNotificationIsNotCalled) {
    Published<int> value;
    Token second;
    int secondCalls = 0;
    Token first = value.subscribe([&](const int& v) {
        if (v == 1) {
            second.cancel();
        }
    });
    second = value.subscribe([&](const int&) { ++secondCalls; });
    value.set(1);
    EXPECT_EQ(secondCalls, 1) << "only the first delivery, before it was removed";
}

TEST(Published, SubscribingDuringNotificationIsSafe) {
    Published<int> value;
    std::vector<Token> later;
    std::vector<int> lateSeen;
    Token t = value.subscribe([&](const int& v) {
        if (v == 1) {
            later.push_back(value.subscribe([&](const int& w) { lateSeen.push_back(w); }));
        }
    });
    value.set(1);
    EXPECT_EQ(lateSeen, std::vector<int>{1}) << "its first delivery, not also the one in progress";
    value.set(2);
    EXPECT_EQ(lateSeen, (std::vector<int>{1, 2}));
}

TEST(Published, AnObserverHearsOnlyLaterAssignmentsAndFollowsTheNotifyPolicy) {
    Published<bool> everyTime(false);
    Published<bool> onChange(false, Notify::onChange);
    int every = 0;
    int changes = 0;
    Token a = everyTime.observe([&] { ++every; });
    Token b = onChange.observe([&] { ++changes; });
    EXPECT_EQ(every + changes, 0) << "no delivery of the current value";
    everyTime.set(false);
    everyTime.set(true);
    onChange.set(false);
    onChange.set(true);
    EXPECT_EQ(every, 2);
    EXPECT_EQ(changes, 1);
    a.cancel();
    everyTime.set(false);
    EXPECT_EQ(every, 2);
}

TEST(Published, JoinedTokensEndEveryRegistrationTogether) {
    Published<int> first;
    Published<int> second;
    int calls = 0;
    Token joined = joinTokens({});
    {
        std::vector<Token> tokens;
        tokens.push_back(first.observe([&] { ++calls; }));
        tokens.push_back(second.observe([&] { ++calls; }));
        joined = joinTokens(std::move(tokens));
    }
    first.set(1);
    second.set(1);
    EXPECT_EQ(calls, 2);
    joined.cancel();
    first.set(2);
    second.set(2);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(first.subscriberCount() + second.subscriberCount(), 0u);
}

TEST(Published, TokenMayOutliveTheValue) {
    VirtualMainLoop loop;
    Token t;
    {
        Published<int> value;
        t = value.subscribe(loop, [](const int&) { FAIL() << "delivered after the value died"; });
        value.set(3);
    }
    loop.runUntilIdle();
    t.cancel();
    SUCCEED();
}

}  // namespace
}  // namespace lumivoke
