#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include "tests/qt_support/qt_tests.h"

namespace {

// How often OnModal looks whether its window is up.
constexpr int kLookIntervalMs = 10;

}  // namespace

std::vector<TTestFactory>& RegisteredTests()
{
    static std::vector<TTestFactory> tests;
    return tests;
}

void OnModal(std::function<void(QWidget* window)> action)
{
    // The window is looked for until it is up rather than at the event loop's
    // next turn, which may come before the modal run starts.
    const QPointer<QWidget> earlier = QApplication::activeModalWidget();
    auto* look = new QTimer(qApp);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(look, &QTimer::timeout, [look, earlier, waited, action = std::move(action)] {
        QWidget* window = QApplication::activeModalWidget();
        const bool up = window && window != earlier;
        if (!up && !waited.hasExpired(kHangGuardMs))
            return;
        look->stop();
        look->deleteLater();
        if (!up)
            return;
        QTimer::singleShot(kHangGuardMs, window, [window] {
            if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible())
                dialog->reject();
        });
        action(window);
    });
    look->start(kLookIntervalMs);
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
