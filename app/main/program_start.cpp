#include "app/main/program_start.h"

#include <QApplication>

#include "app/main/app_texts.h"
#include "app/main/ozr_main.h"
#include "app/main/ozr_regions.h"
#include "app/main/wq_application.h"

TProgramStart::TProgramStart()
{
    QApplication::setApplicationName(kAppTitle);
    RunGuarded([] { FormRegions->FillRegionsGrid(); });
    FormMain->show();
}
