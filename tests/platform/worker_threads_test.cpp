#include "platform/worker_threads.h"

#include <atomic>

#include <gtest/gtest.h>

namespace {

// A start that the system refuses ends the starting; the threads started
// before it run their work all the same.
TEST(WorkerThreads, ARefusedStartLeavesTheThreadsStartedBeforeIt)
{
    struct Case {
        std::size_t failing;
        std::size_t started;
    };
    for (const Case c : {Case{0, 0}, Case{2, 2}, Case{4, 4}}) {
        std::atomic<std::size_t> ran{0};
        {
            const TFailingThreadStart failure(c.failing);
            EXPECT_EQ(StartWorkers(4, [&](std::stop_token) { ++ran; }).size(), c.started)
                << c.failing;
        }
        EXPECT_EQ(ran, c.started) << c.failing;
    }
}

}  // namespace
