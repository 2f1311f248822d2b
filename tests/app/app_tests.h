#pragma once

// What the tests of the application share.

#include <vector>

#include "app/help_service.h"

// Records the context numbers of the help asked for, in order.
class TRecordedHelp final : public THelpViewer {
public:
    TRecordedHelp() : installed_(*this) {}
    void ShowTopic(int context) override { contexts_.push_back(context); }
    const std::vector<int>& Contexts() const { return contexts_; }

private:
    ScopedHelpViewer installed_;
    std::vector<int> contexts_;
};
