#pragma once

// Shared pieces of the Qt test binaries: every test class registers itself and
// one main runs them all; modal windows are driven once they are up, and a
// window left open is closed after the hang guard, so no test can hang on it.

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

// How long a GUI test waits for a window or a state before it takes the run
// for hung. Every wait ends as soon as its state is there; this limit only
// stops a run that would never end, so it allows for a very busy machine.
constexpr int kHangGuardMs = 2 * 60 * 1000;

// Once the next modal window is up, hands it to `action` (which should close
// it); a window still open after the hang guard is rejected.
void OnModal(std::function<void(QWidget* window)> action);
