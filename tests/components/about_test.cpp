#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryFile>
#include <QtTest>

#include "components/QvAboutInfo.h"
#include "components/QvAboutWindow.h"
#include "components/QvURLLabel.h"
#include "components/genutils.h"
#include "platform/exception.h"
#include "tests/qt_support/qt_tests.h"

namespace {

// Stands in for the desktop's web browser.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void versionComesFromTheStampedProgram()
    {
        QCOMPARE(GetAppVersion(), QStringLiteral("1.0.0 (.0)"));
        QCOMPARE(GetFileVersionString(QCoreApplication::applicationFilePath(), 0),
                 QStringLiteral("1.0"));
        QCOMPARE(GetFileVersionString(QCoreApplication::applicationFilePath(), 2),
                 QStringLiteral("1.0.0.0"));
        QVERIFY_THROWS_EXCEPTION(Exception,
                                 GetFileVersionString(QCoreApplication::applicationFilePath(), 4));
    }

    void fileWithoutVersionRaisesTheSystemError()
    {
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write("no version here");
        file.flush();
        QString message;
        try {
            GetFileVersionString(file.fileName(), 3);
        } catch (const Exception& error) {
            message = QString::fromStdString(error.Message());
        }
        QVERIFY2(message.startsWith(QStringLiteral(
                     "System error in function GetFileVersionInfoSize. Error code: ")),
                 qPrintable(message));
        QVERIFY(message.back().isDigit());
    }

    void aboutBoxShowsTitleVersionAndShownPartners()
    {
        TQvAboutInfo info;
        info.SetApplicationName(QStringLiteral("Tavrel"));
        info.Partner(2).Name = QStringLiteral("Second");
        QString caption;
        QStringList names;
        int letters = 0;
        QString version;
        bool creditsButton = true;
        OnModal([&](QWidget* window) {
            caption = window->windowTitle();
            for (const QLabel* label : window->findChildren<QLabel*>())
                if (label->objectName().startsWith(QStringLiteral("LblPartnerName")))
                    names << label->objectName() + QLatin1Char('=') + label->text();
            letters = static_cast<int>(window->findChildren<TMyLabel*>().size());
            version = window->findChild<QLabel*>(QStringLiteral("LblVersion"))->text();
            creditsButton =
                window->findChild<QPushButton*>(QStringLiteral("BtnCredits")) != nullptr;
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("BtnOK")),
                              Qt::LeftButton);
        });
        QVERIFY(info.Execute());
        QCOMPARE(caption, QStringLiteral("About: Tavrel"));
        QCOMPARE(letters, 6);
        QCOMPARE(version, QStringLiteral("Version: 1.0.0 (.0)"));
        names.sort();
        QCOMPARE(names.join(QLatin1Char(',')),
                 QStringLiteral("LblPartnerName1=Partner name,LblPartnerName2=Second"));
        QVERIFY(!creditsButton);
    }

    void creditsOpenAndCloseAgainWithoutPartners()
    {
        TQvAboutInfo info;
        for (int number = 1; number <= 3; ++number)
            info.Partner(number).Show = false;
        info.SetCreditsButtonShow(true);
        info.SetCredits({QStringLiteral("first helper"), QStringLiteral("second helper")});
        int partnerLabels = -1;
        QString memo;
        QStringList buttonTexts;
        bool hiddenAgain = false;
        OnModal([&](QWidget* window) {
            partnerLabels = 0;
            for (const QLabel* label : window->findChildren<QLabel*>())
                partnerLabels += label->objectName().startsWith(QStringLiteral("LblPartner"));
            auto* ok = window->findChild<QPushButton*>(QStringLiteral("BtnOK"));
            auto* box = window->findChild<QScrollArea*>(QStringLiteral("ScrollBoxCredits"));
            memo = window->findChild<QPlainTextEdit*>(QStringLiteral("MemoCredits"))->toPlainText();
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("BtnCredits")),
                              Qt::LeftButton);
            buttonTexts << ok->text();
            QTRY_VERIFY_WITH_TIMEOUT(box->height() > 100, kHangGuardMs);
            QTest::keyClick(window, Qt::Key_Escape);
            QTRY_VERIFY_WITH_TIMEOUT(box->isHidden(), kHangGuardMs);
            buttonTexts << ok->text();
            hiddenAgain = window->isVisible();
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QVERIFY(info.Execute());
        QCOMPARE(partnerLabels, 0);
        QCOMPARE(memo, QStringLiteral("first helper\nsecond helper"));
        QCOMPARE(buttonTexts, (QStringList{QStringLiteral("Hide"), QStringLiteral("OK")}));
        QVERIFY(hiddenAgain);  // Esc only folded the credits away
    }

    void titleLettersAndTheSecretWordToggleTheAnimation()
    {
        TQvAboutInfo info;
        info.SetApplicationName(QStringLiteral("WQ"));
        info.SetEasternEggString(QStringLiteral("egg"));
        QList<bool> states;
        OnModal([&](QWidget* window) {
            auto* about = qobject_cast<TQvAboutWindow*>(window);
            QTest::mouseClick(window->findChild<TMyLabel*>(QStringLiteral("TitleLetter1")),
                              Qt::LeftButton);
            states << about->TitleAnimating();
            // The animation runs: the first letter follows the mouse.
            auto* first = window->findChild<TMyLabel*>(QStringLiteral("TitleLetter0"));
            const QPoint mouse = first->pos() + QPoint(20, 10);
            QCursor::setPos(window->mapToGlobal(mouse));
            QTRY_COMPARE_WITH_TIMEOUT(first->pos(), mouse, kHangGuardMs);
            QTest::mouseClick(first, Qt::LeftButton);
            states << about->TitleAnimating();
            QTest::keyClicks(window, QStringLiteral("xEgG"));
            states << about->TitleAnimating();
            about->accept();
        });
        info.Execute();
        QCOMPARE(states, (QList<bool>{true, false, true}));
    }

    void urlLabelKeepsItsOwnCaptionAndOpensItsAddress()
    {
        TQvURLLabel label;
        QVERIFY(label.font().underline());
        QCOMPARE(label.palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
        label.SetURL(QStringLiteral("https://one.example"));
        QCOMPARE(label.text(), QStringLiteral("https://one.example"));
        label.SetURL(QStringLiteral("https://two.example"));
        QCOMPARE(label.text(), QStringLiteral("https://two.example"));
        label.setText(QStringLiteral("Our site"));
        label.SetURL(QStringLiteral("https://three.example"));
        QCOMPARE(label.text(), QStringLiteral("Our site"));

        TUrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        QSignalSpy clicked(&label, &TQvURLLabel::Clicked);
        label.resize(100, 20);
        QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(catcher.opened, (QList<QUrl>{QUrl(QStringLiteral("https://three.example"))}));
        QCOMPARE(clicked.count(), 1);
    }
};

WQ_REGISTER_TEST(AboutTest);

#include "about_test.moc"
