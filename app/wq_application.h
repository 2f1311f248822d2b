#pragma once

// The application object. An exception that leaves an event handler is shown
// in an error box and the program goes on, as the desktop toolkit's own handler
// does; none may reach Qt's event loop, which cannot unwind through it.

#include <exception>
#include <utility>

#include <QApplication>

// Shows the message of an exception that a handler did not mend.
void HandleException(const std::exception& error);

// Runs a handler, showing any exception it lets out.
template <typename THandler>
void RunGuarded(THandler&& handler)
{
    try {
        std::forward<THandler>(handler)();
    } catch (const std::exception& error) {
        HandleException(error);
    }
}

class TWqApplication : public QApplication {
    Q_OBJECT
public:
    TWqApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
