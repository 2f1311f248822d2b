#include "app/wq_application.h"

#include "platform/dialogs.h"

void HandleException(const std::exception& error)
{
    ShowMessage(error.what(), TMsgDlgType::mtError);
}

TWqApplication::TWqApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TWqApplication::notify(QObject* receiver, QEvent* event)
{
    bool handled = false;
    RunGuarded([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
