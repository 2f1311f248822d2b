#include <QApplication>

#include "app/app_texts.h"
#include "app/ozr_main.h"
#include "app/qt_dialogs.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(kAppTitle);
    TQtDialogs dialogs;
    ScopedDialogs installed(dialogs);
    TFormMain formMain;
    formMain.show();
    return QApplication::exec();
}
