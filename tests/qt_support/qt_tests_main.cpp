#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include "tests/qt_support/qt_tests.h"

std::vector<TTestFactory>& RegisteredTests()
{
    static std::vector<TTestFactory> tests;
    return tests;
}

void OnModal(std::function<void(QWidget* window)> action, int timeLimitMs)
{
    QTimer::singleShot(0, [action = std::move(action), timeLimitMs] {
        QPointer<QWidget> window = QApplication::activeModalWidget();
        QTimer::singleShot(timeLimitMs, [window] {
            if (auto* dialog = qobject_cast<QDialog*>(window.data()))
                dialog->reject();
        });
        action(window.data());
    });
}

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    int failures = 0;
    for (const TTestFactory& factory : RegisteredTests()) {
        const std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
