#include "bench/support/ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

// A case whose work failed has no figure to miss a limit; the run must fail
// all the same, with the case and its cause on stderr.
TEST(RatioReporterTest, ACaseWhoseWorkFailedFailsTheRun)
{
    benchmark::RegisterBenchmark("CopyThatFails", [](benchmark::State& state) {
        for (auto _ : state)
            state.SkipWithError("the copy was not written");
    })->Iterations(1);
    testing::internal::CaptureStderr();
    const int status = wqbench::RunChecked();
    // The library writes the machine's context to stderr before.
    EXPECT_THAT(testing::internal::GetCapturedStderr(),
                testing::EndsWith("\nCopyThatFails failed: the copy was not written\n"));
    EXPECT_EQ(status, 1);
}

}  // namespace
