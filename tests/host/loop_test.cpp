// The main loop: notifiers, timers, and dispatch that survives slots deleting or nesting.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <memory>
#include <unistd.h>

#include "emainloop.h"
#include "mainloop.h"
#include "timer.h"

namespace
{

struct Pipe {
    int fds[2];
    Pipe() { EXPECT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0); }
    ~Pipe()
    {
        close(fds[0]);
        close(fds[1]);
    }
    void put() { ASSERT_EQ(write(fds[1], "x", 1), 1); }
};

TEST(MainLoop, ReadNotifierFiresWhenDataArrivesAndNotWhenStopped)
{
    Pipe p;
    int fired = 0;
    eSocketNotifier notifier(eApp, p.fds[0], eSocketNotifier::Read, false);
    notifier.activated.connect([&](int) {
        char c;
        while (read(p.fds[0], &c, 1) == 1) {
        }
        ++fired;
    });
    p.put();
    eApp->runUntil([] { return false; }, std::chrono::milliseconds(30));
    EXPECT_EQ(fired, 0) << "a notifier made stopped does not fire";
    notifier.start();
    EXPECT_TRUE(eApp->runUntil([&] { return fired == 1; }, std::chrono::seconds(2)));
}

TEST(MainLoop, TimersFireInDeadlineOrder)
{
    std::vector<int> order;
    eTimer late(eApp), early(eApp);
    late.timeout.connect([&] { order.push_back(2); });
    early.timeout.connect([&] { order.push_back(1); });
    late.start(40);
    early.start(5);
    EXPECT_TRUE(eApp->runUntil([&] { return order.size() == 2; }, std::chrono::seconds(2)));
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_FALSE(late.isActive());
}

TEST(MainLoop, NotifierDeletedByAnEarlierSlotIsNotCalled)
{
    // Notifiers are dispatched in the order they were started.
    Pipe a, b;
    eSocketNotifier first(eApp, a.fds[0], eSocketNotifier::Read);
    auto second = std::make_unique<eSocketNotifier>(eApp, b.fds[0], eSocketNotifier::Read);
    bool secondFired = false;
    second->activated.connect([&](int) { secondFired = true; });
    bool firstFired = false;
    first.activated.connect([&](int) {
        firstFired = true;
        second.reset();
        first.stop();
    });
    a.put();
    b.put();
    EXPECT_TRUE(eApp->runUntil([&] { return firstFired; }, std::chrono::seconds(2)));
    eApp->runUntil([] { return false; }, std::chrono::milliseconds(20));
    EXPECT_FALSE(secondFired);
}

TEST(MainLoop, NestedRunInsideASlotDoesNotRedeliverStaleEvents)
{
    // Both pipes are ready in one round; whichever slot runs first nests the loop (as a modal
    // box does), and the nested run handles the other pipe. Back in the outer round, the other
    // notifier must not be called again on the strength of the old poll result.
    Pipe a, b;
    int calls = 0, emptyCalls = 0;
    bool nested = false;
    auto handler = [&](int fd) {
        ++calls;
        char c;
        if (read(fd, &c, 1) != 1)
            ++emptyCalls;
        if (!nested) {
            nested = true;
            eApp->runUntil([] { return false; }, std::chrono::milliseconds(30));
        }
    };
    eSocketNotifier first(eApp, a.fds[0], eSocketNotifier::Read);
    eSocketNotifier second(eApp, b.fds[0], eSocketNotifier::Read);
    first.activated.connect([&](int) { handler(a.fds[0]); });
    second.activated.connect([&](int) { handler(b.fds[0]); });
    a.put();
    b.put();
    EXPECT_TRUE(eApp->runUntil([&] { return calls >= 2; }, std::chrono::seconds(2)));
    eApp->runUntil([] { return false; }, std::chrono::milliseconds(20));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(emptyCalls, 0);
}

TEST(MainLoop, RunUntilGivesUpAtItsLimit)
{
    const auto start = eMainloop::Clock::now();
    EXPECT_FALSE(eApp->runUntil([] { return false; }, std::chrono::milliseconds(50)));
    const auto took = eMainloop::Clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(45));
    EXPECT_LT(took, std::chrono::seconds(2));
}

} // namespace
