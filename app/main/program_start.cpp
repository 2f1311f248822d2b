#include "app/program_start.h"

#include <QApplication>

#include "app/app_texts.h"
#include "app/ozr_main.h"
#include "app/ozr_regions.h"
#include "app/wq_application.h"

TProgramStart::TProgramStart()
{
    QApplication::setApplicationName(kAppTitle);
    RunGuarded([] { FormRegions->FillRegionsGrid(); });
    FormMain->show();
}
