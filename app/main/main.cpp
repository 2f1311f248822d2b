#include "app/program_start.h"
#include "app/wq_application.h"

int main(int argc, char* argv[])
{
    TWqApplication application(argc, argv);
    TProgramStart start;
    return TWqApplication::exec();
}
