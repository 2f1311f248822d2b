#include "components/command_guard.h"

#include <string>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

#include "platform/exception.h"
#include "platform/scripted_dialogs.h"
#include "tests/qt_support/qt_tests.h"

namespace {

class TFailingHandler : public QObject {
public:
    void Pressed() { throw Exception("Pressed"); }
    void Chosen(int index) { throw Exception("Chosen " + std::to_string(index)); }
};

}  // namespace

class CommandGuardTest : public QObject {
    Q_OBJECT

private slots:
    // An exception that a command's handler lets out, from a push button, a
    // menu action or a list box's choice (whose handler gets the signal's
    // arguments), is shown in an error box from the handler, and the next
    // command runs.
    void anExceptionOfACommandIsShownAtItsHandler()
    {
        TScriptedDialogs dialogs;
        ScopedDialogs installed(dialogs);
        QWidget window;
        TFailingHandler handler;
        auto* button = new QPushButton(QStringLiteral("Button"), &window);
        auto* action = new QAction(QStringLiteral("Action"), &window);
        auto* box = new QComboBox(&window);
        ConnectCommand(button, &QPushButton::clicked, &handler, &TFailingHandler::Pressed);
        ConnectCommand(action, &QAction::triggered, &window, [] { throw Exception("Triggered"); });
        ConnectCommand(box, &QComboBox::activated, &handler, &TFailingHandler::Chosen);
        button->click();
        action->trigger();
        emit box->activated(1);
        button->click();
        QCOMPARE(dialogs.Texts(),
                 (std::vector<std::string>{"Pressed", "Triggered", "Chosen 1", "Pressed"}));
        QCOMPARE(dialogs.Messages()[1].Type, TMsgDlgType::mtError);
    }
};

WQ_REGISTER_TEST(CommandGuardTest);
#include "command_guard_test.moc"
