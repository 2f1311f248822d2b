#include "platform/worker_threads.h"

#include <atomic>
#include <limits>
#include <system_error>

namespace {

constexpr std::size_t kNoFailingStart = std::numeric_limits<std::size_t>::max();

std::atomic<std::size_t> failingStart{kNoFailingStart};

// Whether the thread started: the system refuses one with std::system_error.
bool Started(std::size_t Position, const std::function<void(std::stop_token)>& Work,
             std::vector<std::jthread>& Threads)
{
    try {
        if (Position == failingStart.load())
            throw std::system_error(
                std::make_error_code(std::errc::resource_unavailable_try_again));
        Threads.emplace_back(Work);
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace

std::vector<std::jthread> StartWorkers(std::size_t Count,
                                       const std::function<void(std::stop_token)>& Work)
{
    std::vector<std::jthread> threads;
    threads.reserve(Count);
    while (threads.size() < Count && Started(threads.size(), Work, threads)) {
    }
    return threads;
}

TFailingThreadStart::TFailingThreadStart(std::size_t Position)
{
    failingStart = Position;
}

TFailingThreadStart::~TFailingThreadStart()
{
    failingStart = kNoFailingStart;
}
