#pragma once

// The application object. An exception that leaves an event handler is shown
// in an error box and the program goes on, as the desktop toolkit's own handler
// does; none may reach Qt's event loop, which cannot unwind through it.
// Commands catch their own at the edge of their handlers (ConnectCommand).

#include <QApplication>

#include "components/command_guard.h"

class TWqApplication : public QApplication {
    Q_OBJECT
public:
    TWqApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
