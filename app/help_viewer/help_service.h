#pragma once

// Forms open the help file through one service: the program installs the help
// window, tests install a viewer that records the context numbers asked for.

#include <string>

#include "platform/scoped_service.h"

class THelpViewer {
public:
    virtual ~THelpViewer() = default;
    // Shows the topic of this context number of the program's help file.
    virtual void ShowTopic(int context) = 0;
};

THelpViewer*& InstalledHelpViewer();
using ScopedHelpViewer = TScopedService<THelpViewer, InstalledHelpViewer>;

// Raises Exception when no viewer is installed.
void ShowHelp(int context);

// The program's help file, which the viewer opens; the main window sets it to
// "Rivulon.chm" beside the program when it is created.
const std::string& HelpFile();
void SetHelpFile(const std::string& fileName);
