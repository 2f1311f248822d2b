#include "app/main/program_start.h"
#include "app/main/wq_application.h"

int main(int argc, char* argv[])
{
    TWqApplication application(argc, argv);
    TProgramStart start;
    return TWqApplication::exec();
}
