#pragma once

// A modal runner for tests: each modal window runs the next script the test
// queued, in place of a modal loop, and must be closed by it. Message lists
// need no script: their lines are recorded and the list is closed. A window
// that nobody scripted, or a script that leaves its window open, fails the run
// with an exception, so a test cannot pass by accident.

#include <deque>
#include <functional>

#include <QStringList>

#include "components/modal_run.h"

class TScriptedModal final : public TModalRunner {
public:
    using TScript = std::function<void(QDialog& window)>;

    TScriptedModal() : installed_(*this) {}

    // The next modal window other than a message list runs this script.
    void Then(TScript script) { scripts_.push_back(std::move(script)); }
    bool AllScriptsUsed() const { return scripts_.empty(); }

    // Every line that message lists have shown so far, in order.
    const QStringList& MessageLines() const { return messageLines_; }
    // The lines shown since the last call.
    QStringList TakeMessageLines();
    // Object names of the scripted windows, in the order they were shown.
    const QStringList& Shown() const { return shown_; }

    int Run(QDialog& window) override;

private:
    ScopedModalRunner installed_;
    std::deque<TScript> scripts_;
    QStringList messageLines_;
    QStringList shown_;
};
