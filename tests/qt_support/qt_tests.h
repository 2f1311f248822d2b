#pragma once

// Shared pieces of the Qt test binaries: every test class registers itself and
// one main runs them all; modal windows are driven from a zero timer with a
// time limit, so no test can hang on a window left open.

#include <functional>
#include <memory>
#include <vector>

#include <QObject>
#include <QWidget>

using TTestFactory = std::function<std::unique_ptr<QObject>()>;

std::vector<TTestFactory>& RegisteredTests();

struct TTestRegistration {
    explicit TTestRegistration(TTestFactory factory)
    {
        RegisteredTests().push_back(std::move(factory));
    }
};

#define WQ_REGISTER_TEST(Class) \
    static const TTestRegistration registration##Class([] { return std::make_unique<Class>(); })

// Once the next modal window is up, hands it to `action` (which should close
// it); a window still open after the time limit is rejected.
void OnModal(std::function<void(QWidget* window)> action, int timeLimitMs = 5000);
