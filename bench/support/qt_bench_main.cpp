// The main of the benchmark programs that time widgets: offscreen unless a
// platform is named, one application object, then the runs and the ratios
// that the program prints.

#include <QApplication>

#include "bench/support/ratio_reporter.h"

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    wqbench::Initialize(argc, argv);
    return wqbench::RunAndPrintRatios(wqbench::PrintRatios);
}
