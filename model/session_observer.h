#pragma once

// What the session tells the main window. The main window installs one on the
// session it creates; a session without one (tools, tests) works alone.

#include <string>

class TSessionObserver {
public:
    virtual ~TSessionObserver() = default;

    // The window title that shows whether unsaved changes exist.
    virtual void SetCaption(const std::string& caption) = 0;
    // The chosen country was set or a second choice refused: the country list
    // must show the session's country again.
    virtual void updateCmBoxCountries() = 0;
    // A data file was opened: responsible person, e-mail and remarks changed.
    virtual void ShowSessionInfo() = 0;
};
