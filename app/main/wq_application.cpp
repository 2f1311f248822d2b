#include "app/main/wq_application.h"

TWqApplication::TWqApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TWqApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
