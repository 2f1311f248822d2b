#include "app/app_texts.h"
#include "app/forms.h"
#include "app/ozr_main.h"
#include "app/qt_dialogs.h"
#include "app/wq_application.h"

int main(int argc, char* argv[])
{
    TWqApplication application(argc, argv);
    TWqApplication::setApplicationName(kAppTitle);
    TQtDialogs dialogs;
    ScopedDialogs installed(dialogs);
    TForms forms;
    FormMain->show();
    return TWqApplication::exec();
}
