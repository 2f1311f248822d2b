#include "app/ozr_main.h"

#include "app/app_texts.h"

TFormMain* FormMain = nullptr;

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(kAppTitle);
    resize(800, 600);
}
