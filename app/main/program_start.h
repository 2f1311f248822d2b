#pragma once

// What the program does from its start to the message loop: the dialog and
// help services, every form in its order (the main window first, which creates the
// session and reads the region tree), the application's title, the overview
// filled once and the main window shown. Everything lives as long as the object.

#include "app/help_viewer/help_window.h"
#include "app/main/forms.h"
#include "app/main/qt_dialogs.h"

class TProgramStart {
public:
    // The application object must exist.
    TProgramStart();

private:
    TQtDialogs dialogs_;
    ScopedDialogs installedDialogs_{dialogs_};
    THelpWindowViewer help_;
    ScopedHelpViewer installedHelp_{help_};
    TForms forms_;
};
