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
    // An exception that a command's handler lets out, from a push button or a
    // menu action, is shown in an error box from the handler, and the next
    // command runs.
    void anExceptionOfACommandIsShownAtItsHandler()
    {
        TScriptedDialogs dialogs;
        ScopedDialogs installed(dialogs);
        QWidget window;
        TFailingHandler handler;
        auto* button = new QPushButton(QStringLiteral("Button"), &window);
        auto* action = new QAction(QStringLiteral("Action"), &window);
        ConnectCommand(button, &QPushButton::clicked, &handler, &TFailingHandler::Pressed);
        ConnectCommand(action, &QAction::triggered, &window, [] { throw Exception("Triggered"); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(button, Qt::LeftButton);
        action->trigger();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(dialogs.Texts(), (std::vector<std::string>{"Pressed", "Triggered", "Pressed"}));
        QCOMPARE(dialogs.Messages()[1].Type, TMsgDlgType::mtError);
    }

    // A handler that takes the signal's arguments gets them, guarded alike.
    void aHandlerWithTheSignalsArgumentsIsGuarded()
    {
        TScriptedDialogs dialogs;
        ScopedDialogs installed(dialogs);
        TFailingHandler handler;
        QComboBox box;
        box.addItems({QStringLiteral("a"), QStringLiteral("b")});
        ConnectCommand(&box, &QComboBox::activated, &handler, &TFailingHandler::Chosen);
        emit box.activated(1);
        QCOMPARE(dialogs.Texts(), (std::vector<std::string>{"Chosen 1"}));
    }
};

WQ_REGISTER_TEST(CommandGuardTest);
#include "command_guard_test.moc"
