#include <QCoreApplication>
#include <QDialog>
#include <QTimer>
#include <QtTest>

#include "tests/qt_support/qt_tests.h"

class OnModalTest : public QObject {
    Q_OBJECT

private slots:
    // The event loop may turn between OnModal and the modal run, as when a
    // step waits for a window first; the action still gets the modal window.
    void actsOnTheModalWindowOnceItIsUp()
    {
        QDialog dialog;
        QTimer::singleShot(kHangGuardMs, &dialog, &QDialog::reject);
        QWidget* seen = nullptr;
        OnModal([&](QWidget* window) {
            seen = window;
            dialog.accept();
        });
        QCoreApplication::processEvents();
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(seen, &dialog);
    }
};

WQ_REGISTER_TEST(OnModalTest);
#include "on_modal_test.moc"
