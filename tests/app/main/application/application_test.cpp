#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/main/wq_application.h"
#include "platform/exception.h"
#include "platform/scripted_dialogs.h"
#include "tests/app/main/main_window_fixture.h"
#include "tests/qt_support/qt_tests.h"
#include "tests/support/temp_folder.h"

class ApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void exceptionLeavingAHandlerIsShownAndTheProgramGoesOn()
    {
        TScriptedDialogs dialogs;
        ScopedDialogs installed(dialogs);
        QPushButton button;
        int clicks = 0;
        connect(&button, &QPushButton::clicked, [&clicks] {
            throw Exception("Click number " + std::to_string(++clicks) + " failed");
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button, kHangGuardMs));
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        bool laterEventRan = false;
        QTimer::singleShot(0, [] { throw Exception("From the event loop"); });
        QTimer::singleShot(0, [&laterEventRan] { laterEventRan = true; });
        QTRY_VERIFY_WITH_TIMEOUT(laterEventRan, kHangGuardMs);
        QCOMPARE(dialogs.Texts(),
                 (std::vector<std::string>{"Click number 1 failed", "Click number 2 failed",
                                           "From the event loop"}));
        QCOMPARE(dialogs.Messages()[0].Type, TMsgDlgType::mtError);
    }

    void failedSaveOnClosingKeepsTheWindowOpen()
    {
        wqtest::TempFolder folder;
        TMainWindowSetup setup;
        setup.FillHeader();
        setup.Main().show();
        setup.Dialogs.Answer(mrYes);
        setup.Dialogs.AnswerFile(folder / "missing/x.wqd");
        QVERIFY(!setup.Main().close());
        QVERIFY(setup.Main().isVisible());
        QVERIFY(setup.Dialogs.Texts().back().starts_with("Cannot write the file"));
        setup.Dialogs.Answer(mrNo);
        QVERIFY(setup.Main().close());
    }
};

int main(int argc, char* argv[])
{
    TWqApplication application(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
