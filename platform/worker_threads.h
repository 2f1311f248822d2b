#pragma once

// Helper threads that the system may refuse: where threads or memory are
// short, the work goes on with the threads that did start, down to the
// calling thread alone.

#include <cstddef>
#include <functional>
#include <stop_token>
#include <thread>
#include <vector>

// Starts up to Count threads that run Work. The first start that the system
// refuses ends the starting, and the threads already started go on: the
// threads returned may be fewer than Count, or none.
std::vector<std::jthread> StartWorkers(std::size_t Count,
                                       const std::function<void(std::stop_token)>& Work);

// For tests: while it lives, the start at Position (0 the first) of every
// StartWorkers call fails as the system fails it when it has no thread left.
class TFailingThreadStart {
public:
    explicit TFailingThreadStart(std::size_t Position);
    ~TFailingThreadStart();
    TFailingThreadStart(const TFailingThreadStart&) = delete;
    TFailingThreadStart& operator=(const TFailingThreadStart&) = delete;
};
