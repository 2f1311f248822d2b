#include "platform/worker_threads.h"

#include <atomic>

#include <gtest/gtest.h>

namespace {

// A start that the system refuses ends the starting; the threads started
// before it run their work all the same.
TEST(WorkerThreads, ARefusedStartLeavesTheThreadsStartedBeforeIt)
{
    for (const std::size_t failing : {0u, 2u, 4u}) {
        std::atomic<std::size_t> ran{0};
        {
            const TFailingThreadStart failure(failing);
            EXPECT_EQ(StartWorkers(4, [&](std::stop_token) { ++ran; }).size(), failing);
        }
        EXPECT_EQ(ran, failing);
    }
}

}  // namespace
