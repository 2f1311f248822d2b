#include "app/app_texts.h"
#include "app/forms.h"
#include "app/help_window.h"
#include "app/ozr_main.h"
#include "app/qt_dialogs.h"
#include "app/wq_application.h"
#include "platform/program_folder.h"

int main(int argc, char* argv[])
{
    TWqApplication application(argc, argv);
    TWqApplication::setApplicationName(kAppTitle);
    TQtDialogs dialogs;
    ScopedDialogs installed(dialogs);
    THelpWindowViewer help(ProgramFolder() + "Rivulon.chm");
    ScopedHelpViewer installedHelp(help);
    TForms forms;
    FormMain->show();
    return TWqApplication::exec();
}
