#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "components/frmMsgDlg.h"
#include "tests/qt_support/qt_tests.h"

class MessageDialogTest : public QObject {
    Q_OBJECT
private slots:
    void tagsAreThirteenCharactersWide()
    {
        QCOMPARE(TMessageDialog::MessageLine({QStringLiteral("text"), mkInformation}),
                 QStringLiteral("[Information] text"));
        QCOMPARE(TMessageDialog::MessageLine({QStringLiteral("text"), mkWarning}),
                 QStringLiteral("[Warning]     text"));
        QCOMPARE(TMessageDialog::MessageLine({QStringLiteral("text"), mkError}),
                 QStringLiteral("[Error]       text"));
        QCOMPARE(TMessageDialog::MessageLine({QString(), mkError}),
                 QStringLiteral("[Error]       "));
    }

    void onlyErrorsCount()
    {
        TMessageDialog dialog;
        QCOMPARE(dialog.ErrorCount(), 0);
        dialog.AddMessage(QStringLiteral("first"), mkWarning);
        dialog.AddMessage(QStringLiteral("second"), mkError);
        dialog.AddMessage(QStringLiteral("third"), mkWarning);
        dialog.AddMessage(QStringLiteral("fourth"), mkInformation);
        QCOMPARE(dialog.Count(), 4);
        QCOMPARE(dialog.ErrorCount(), 1);
        dialog.Clear();
        QCOMPARE(dialog.Count(), 0);
        QCOMPARE(dialog.ErrorCount(), 0);
    }

    void showsEveryMessageEachTimeAndClosesWithOk()
    {
        TMessageDialog dialog;
        dialog.AddMessage(QStringLiteral("level missing"), mkWarning);
        dialog.AddMessage(QStringLiteral("two\nlines"), mkError);
        for (int round = 0; round < 2; ++round) {
            QString shown;
            QString caption;
            OnModal([&](QWidget* window) {
                QVERIFY(window);
                caption = window->windowTitle();
                shown = window->findChild<QPlainTextEdit*>(QStringLiteral("MemoMessages"))
                            ->toPlainText();
                QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("OKBtn")),
                                  Qt::LeftButton);
            });
            dialog.ShowMessages();
            QCOMPARE(caption, QStringLiteral("Messages"));
            QCOMPARE(shown,
                     QStringLiteral("[Warning]     level missing\n[Error]       two\nlines"));
        }
        QCOMPARE(dialog.Count(), 2);
        QCOMPARE(dialog.Form()->size(), QSize(500, 180));
    }
};

WQ_REGISTER_TEST(MessageDialogTest);

#include "message_dialog_test.moc"
