#include <filesystem>
#include <optional>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "app/help_viewer/help_service.h"
#include "components/QvAboutInfo.h"
#include "components/frmproperties.h"
#include "model/ozr_types.h"
#include "platform/program_folder.h"
#include "tests/app/app_tests.h"
#include "tests/app/main/main_window_fixture.h"
#include "tests/qt_support/qt_tests.h"
#include "tests/support/temp_folder.h"

namespace {

const QString kTitle = QStringLiteral("Tavrel-SoE WQ Data Request");

QStringList Items(const QComboBox& box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

// Answers the closing question, when it comes, with this button.
bool CloseAnswering(TMainWindowSetup& setup, std::optional<TModalResult> answer)
{
    if (answer)
        setup.Dialogs.Answer(*answer);
    return setup.Main().close();
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void buildsTheWindowWithItsMenusAndHiddenMaintenanceItems()
    {
        TMainWindowSetup setup;
        TFormMain& main = setup.Main();
        QCOMPARE(main.windowTitle(), kTitle);
        for (const char* name : {"Panel4", "Panel5", "pnlData", "cmboxCountry", "edtResponsible",
                                 "edtEmail", "memoRemarks", "ToolBar1", "MainMenu1"})
            QVERIFY2(setup.Find<QWidget>(name), name);
        QCOMPARE(setup.Find<QPlainTextEdit>("memoRemarks")->document()->blockCount(), 1);
        QVERIFY(!setup.Find<QAction>("SaveRegions1")->isVisible());
        QVERIFY(!setup.Find<QAction>("AddSU1")->isVisible());
        QVERIFY(setup.Find<QAction>("SaveRegions1")->shortcut().isEmpty());
        QCOMPARE(setup.Find<QAction>("Streamflowdailydata1")->text().remove(QLatin1Char('&')),
                 QStringLiteral("Streamflow daily data…"));
        QStringList hints;
        for (const char* name : {"ToolButton1", "ToolButton2", "ToolButton3", "ToolButton4"})
            hints << setup.Find<QToolButton>(name)->toolTip();
        QCOMPARE(hints, (QStringList{QStringLiteral("Open..."), QStringLiteral("Save"),
                                     QStringLiteral("Data Entry Wizard"), QString()}));
        QCOMPARE(main.PropDlg().Caption(), QStringLiteral("Object Properties"));
        QVERIFY(!main.PropDlg().ReorderAllowed());
        QCOMPARE(main.QvAboutInfo1()->ApplicationName(), kTitle);
        QVERIFY(main.QvAboutInfo1()->ImageShow() && !main.QvAboutInfo1()->Partner(3).Show);
        QVERIFY(main.SaveDialog1().OverwritePrompt);
        QCOMPARE(main.SaveDialog1().DefaultExt, std::string("wqd"));
    }

    void countryListShowsEveryCountryAndAPlaceholder()
    {
        TMainWindowSetup setup;
        auto* box = setup.Find<QComboBox>("cmboxCountry");
        QCOMPARE(Items(*box), (QStringList{QStringLiteral("GR/Greece"), QStringLiteral("CY/Cyprus"),
                                           QStringLiteral("MT/Malta")}));
        QCOMPARE(box->currentIndex(), -1);
        QCOMPARE(box->placeholderText(), QStringLiteral("Select your country..."));
    }

    void pickingACountryKeepsItUnmodifiedAndTypingMarksIt()
    {
        TMainWindowSetup setup;
        setup.PickCountry(1);
        QCOMPARE(CurrentSession().GetCountry()->GetCode(), std::string("CY"));
        QCOMPARE(setup.Main().windowTitle(), kTitle);
        setup.Type("edtResponsible", QStringLiteral("M"));
        QCOMPARE(setup.Main().windowTitle(), kTitle + QLatin1Char('*'));

        // A second choice is refused and the list shows the first again.
        setup.PickCountry(2);
        QCOMPARE(setup.Dialogs.Texts(),
                 std::vector<std::string>{
                     "In order to change the selected country restart the application."});
        QCOMPARE(setup.Find<QComboBox>("cmboxCountry")->currentText(), QStringLiteral("CY/Cyprus"));
        QCOMPARE(CurrentSession().GetCountry()->GetCode(), std::string("CY"));
    }

    void closingWithChangesAsksOnlyOnceACountryIsChosen()
    {
        {
            TMainWindowSetup setup;
            setup.Main().show();
            setup.Type("memoRemarks", QStringLiteral("typed without a country"));
            setup.Find<QAction>("Exit2")->trigger();
            QVERIFY(!setup.Main().isVisible());
            QVERIFY(setup.Dialogs.Messages().empty());
        }
        TMainWindowSetup setup;
        setup.FillHeader();
        setup.Main().show();
        QVERIFY(!CloseAnswering(setup, mrCancel));
        QCOMPARE(setup.Dialogs.Messages().back().Text,
                 std::string("The data have been modified. Save changes?"));
        QCOMPARE(setup.Dialogs.Messages().back().Buttons, mbYesNoCancel);
        setup.Dialogs.AnswerFile(std::nullopt);
        QVERIFY(!CloseAnswering(setup, mrYes));
        QVERIFY(setup.Main().isVisible());
        QVERIFY(CloseAnswering(setup, mrNo));
        QVERIFY(setup.Dialogs.AllAnswersUsed());
    }

    void helpFileLiesBesideTheProgramWhateverTheCurrentFolder()
    {
        const std::filesystem::path before = std::filesystem::current_path();
        wqtest::TempFolder elsewhere;
        std::filesystem::current_path(elsewhere.Path());
        TMainWindowSetup setup;
        std::filesystem::current_path(before);
        QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath().toStdString() + "/");
        QCOMPARE(HelpFile(), ProgramFolder() + "Rivulon.chm");

        TRecordedHelp help;
        setup.Find<QAction>("DataentryHelp1")->trigger();
        setup.Find<QAction>("ToolButton4")->trigger();
        QCOMPARE(help.Contexts(), (std::vector<int>{1000, 1000}));
    }

    void unreadableRegionsFileIsShownAndLeavesAWorkingWindow()
    {
        TScriptedDialogs dialogs;
        ScopedDialogs installed(dialogs);
        TFormMain main;
        QCOMPARE(dialogs.Messages().size(), std::size_t{1});
        QCOMPARE(dialogs.Messages()[0].Type, TMsgDlgType::mtError);
        QVERIFY(Session != nullptr);
        QCOMPARE(main.findChild<QComboBox*>(QStringLiteral("cmboxCountry"))->count(), 0);
        QVERIFY(main.close());
    }
};

WQ_REGISTER_TEST(MainFormTest);
#include "main_form_test.moc"
