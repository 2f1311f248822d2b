#include <QtTest>

#include "app/main/ozr_main.h"
#include "tests/qt_support/qt_tests.h"

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheProgramsTitle()
    {
        TFormMain form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form, kHangGuardMs));
        QCOMPARE(form.windowTitle(), QStringLiteral("Tavrel-SoE WQ Data Request"));
        QCOMPARE(form.objectName(), QStringLiteral("FormMain"));
    }
};

WQ_REGISTER_TEST(MainWindowTest);
#include "main_window_test.moc"
