#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/ObserverList.h"
#include "base/VirtualMainLoop.h"

namespace lumivoke {
namespace {

TEST(ObserverList, NotifiesEveryCallbackInTheOrderAddedWithTheArguments) {
    ObserverList<int, const std::string&> list;
    std::vector<std::string> seen;
    Token a =
        list.add([&](int n, const std::string& s) { seen.push_back("a" + s + std::to_string(n)); });
    Token b =
        list.add([&](int n, const std::string& s) { seen.push_back("b" + s + std::to_string(n)); });
    list.notify(1, "x");
    list.notify(2, "y");
    EXPECT_EQ(seen, (std::vector<std::string>{"ax1", "bx1", "ay2", "by2"}));
    EXPECT_EQ(list.size(), 2u);
}

TEST(ObserverList, EndingATokenEndsOnlyItsOwnRegistration) {
    ObserverList<> list;
    std::string seen;
    Token a = list.add([&] { seen += 'a'; });
    Token b = list.add([&] { seen += 'b'; });
    Token c = list.add([&] { seen += 'c'; });
    b.cancel();
    list.notify();
    b.cancel();  // a second end does nothing
    {
        Token gone = std::move(c);  // the registration moves with the token
    }
    list.notify();
    EXPECT_EQ(seen, "aca");
    EXPECT_EQ(list.size(), 1u);
    a = Token();
    EXPECT_TRUE(list.empty());
}

TEST(ObserverList, ATokenMayOutliveItsList) {
    Token token;
    {
        ObserverList<> list;
        token = list.add([] {});
    }
    EXPECT_TRUE(token);
    token.cancel();
    EXPECT_FALSE(token);
}

// Who removes whom during one notification, among three callbacks called 0, 1, 2.
struct RemovalCase {
    const char* name;
    int remover;
    int removed;
    std::string firstNotification;
    std::string secondNotification;
};

class ObserverListRemoval : public ::testing::TestWithParam<RemovalCase> {};

TEST_P(ObserverListRemoval, ARemovedCallbackIsNeverCalledAgainEvenInTheSameNotification) {
    const RemovalCase& c = GetParam();
    ObserverList<> list;
    std::string seen;
    std::vector<Token> tokens(3);
    for (int i = 0; i < 3; ++i) {
        tokens[i] = list.add([&, i] {
            seen += static_cast<char>('0' + i);
            if (i == c.remover) {
                tokens[c.removed].cancel();
            }
        });
    }
    list.notify();
    EXPECT_EQ(seen, c.firstNotification);
    seen.clear();
    list.notify();
    EXPECT_EQ(seen, c.secondNotification);
    EXPECT_EQ(list.size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Cases, ObserverListRemoval,
                         ::testing::Values(RemovalCase{"itself", 1, 1, "012", "02"},
                                           RemovalCase{"aLaterOne", 0, 2, "01", "01"},
                                           RemovalCase{"anEarlierOne", 2, 0, "012", "12"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ObserverList, ACallbackRemovingItselfKeepsWhatItCapturedUntilItReturns) {
    ObserverList<> list;
    Token self;
    std::string read;
    self = list.add([&self, &read, text = std::string(64, 'x')] {
        self.cancel();
        read = text;  // the callback object must still be alive here
    });
    list.notify();
    EXPECT_EQ(read, std::string(64, 'x'));
    EXPECT_TRUE(list.empty());
}

TEST(ObserverList, ACallbackAddedDuringANotificationHearsFromTheNextOneOn) {
    ObserverList<int> list;
    std::vector<std::string> seen;
    std::vector<Token> added;
    Token adder = list.add([&](int n) {
        seen.push_back("adder" + std::to_string(n));
        added.push_back(list.add([&](int m) { seen.push_back("new" + std::to_string(m)); }));
    });
    list.notify(1);
    EXPECT_EQ(seen, (std::vector<std::string>{"adder1"}));
    seen.clear();
    list.notify(2);
    EXPECT_EQ(seen, (std::vector<std::string>{"adder2", "new2"}));
}

TEST(ObserverList, DestroyingTheListDuringANotificationEndsIt) {
    auto list = std::make_unique<ObserverList<>>();
    std::string seen;
    Token a = list->add([&] {
        seen += 'a';
        list.reset();
    });
    Token b = list->add([&] { seen += 'b'; });
    list->notify();
    EXPECT_EQ(seen, "a");
    a.cancel();
    b.cancel();
}

TEST(ObserverList, ACallbackMayNotifyAgainAndChangeTheListInBetween) {
    ObserverList<int> list;
    std::vector<std::string> seen;
    Token late;
    Token outer = list.add([&](int n) {
        seen.push_back("outer" + std::to_string(n));
        if (n == 1) {
            late.cancel();
            list.notify(2);
        }
    });
    late = list.add([&](int n) { seen.push_back("late" + std::to_string(n)); });
    list.notify(1);
    EXPECT_EQ(seen, (std::vector<std::string>{"outer1", "outer2"}));
}

TEST(ObserverList, PostDeliversOnALaterTurnToTheCallbacksRegisteredThen) {
    VirtualMainLoop loop;
    ObserverList<std::optional<int>> list;
    std::vector<std::string> seen;
    Token kept =
        list.add([&](std::optional<int> v) { seen.push_back("kept" + std::to_string(*v)); });
    Token dropped = list.add([&](std::optional<int>) { seen.push_back("dropped"); });
    list.post(loop, 5);
    EXPECT_TRUE(seen.empty()) << "nothing is delivered inside post";
    dropped.cancel();
    Token joined =
        list.add([&](std::optional<int> v) { seen.push_back("joined" + std::to_string(*v)); });
    loop.runUntilIdle();
    EXPECT_EQ(seen, (std::vector<std::string>{"kept5", "joined5"}));
}

TEST(ObserverList, PostedWorkOutlivingTheListDoesNothing) {
    VirtualMainLoop loop;
    int calls = 0;
    Token token;
    {
        ObserverList<> list;
        token = list.add([&] { ++calls; });
        list.post(loop);
    }
    loop.runUntilIdle();
    EXPECT_EQ(calls, 0);
}

TEST(ObserverList, ReferenceArgumentsReachTheCallbacksUncopied) {
    struct Event {
        int value = 0;
    };
    ObserverList<Event&> list;
    Event event;
    const Event* seenAt = nullptr;
    Token t = list.add([&](Event& e) {
        seenAt = &e;
        ++e.value;
    });
    list.notify(event);
    EXPECT_EQ(seenAt, &event);
    EXPECT_EQ(event.value, 1);
}

}  // namespace
}  // namespace lumivoke
