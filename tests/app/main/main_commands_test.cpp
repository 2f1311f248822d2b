#include <QAction>
#include <QLineEdit>
#include <QtTest>

#include "appcore/save_as.h"
#include "model/ozr_types.h"
#include "tests/app/main/main_window_fixture.h"
#include "tests/qt_support/qt_tests.h"
#include "tests/support/files.h"
#include "tests/support/programs.h"
#include "tests/support/temp_folder.h"

namespace {

const QString kTitle = QStringLiteral("Tavrel-SoE WQ Data Request");

TRegion* SubUnit(const std::string& code)
{
    TRegion* region = nullptr;
    FindRegion(code, rtSU, region);
    return region;
}

QString OverviewCell(int col, int row)
{
    return FormRegions->gridRegions()->Cell(col, row);
}

}  // namespace

class MainCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void saveAsWritesTheDataFileAndItsZipUnderTheChosenName()
    {
        wqtest::TempFolder folder;
        TMainWindowSetup setup;
        setup.FillHeader();
        setup.Type("edtResponsible", QStringLiteral("  "));
        setup.Dialogs.AnswerFile(folder / "x.wqd");
        QVERIFY(setup.Main().SaveData());

        const TFileDialogRequest& request = setup.Dialogs.FileRequests().at(0);
        QCOMPARE(request.FileName, ProposedDataFileName("GR", Now()));
        QCOMPARE(request.Filter, std::string("Water Quantity Data file (*.wqd)|*.wqd"));
        QCOMPARE(CurrentSession().FResponsible, std::string("Maria P.  "));
        QCOMPARE(wqtest::FilesIn(folder.Path()), (std::vector<std::string>{"x.wqd", "x.zip"}));
        QCOMPARE(wqtest::RunWithOutput("unzip -Z1 " + wqtest::Quoted(folder / "x.zip")).output,
                 std::string("x.wqd\n"));
        QCOMPARE(setup.Main().windowTitle(), kTitle);
    }

    void saveAsWithABlankResponsibleListsTheErrorAndWritesNothing()
    {
        TMainWindowSetup setup;
        setup.PickCountry(0);
        setup.Type("edtResponsible", QStringLiteral("   "));
        setup.Type("edtEmail", QStringLiteral("m@example.org"));
        QVERIFY(!setup.Main().SaveData());
        const QStringList lines = setup.Modal.TakeMessageLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].endsWith(
            QStringLiteral("The person responsible for the data entry should be specified")));
        QVERIFY(setup.Dialogs.FileRequests().empty());
    }

    void failingZipCopyKeepsTheChangesAndTheWindowOpen()
    {
        wqtest::TempFolder folder;
        std::filesystem::create_directory(folder / "x.zip");
        TMainWindowSetup setup;
        setup.FillHeader();
        setup.Main().show();
        setup.Dialogs.Answer(mrYes);
        setup.Dialogs.AnswerFile(folder / "x.wqd");
        QVERIFY(!setup.Main().close());
        QVERIFY(setup.Main().isVisible());
        QCOMPARE(setup.Main().windowTitle(), kTitle + QLatin1Char('*'));
        QVERIFY(setup.Dialogs.Texts().back().starts_with("Exception: "));
        QCOMPARE(wqtest::FilesIn(folder.Path()), (std::vector<std::string>{"x.wqd", "x.zip"}));
        QVERIFY(std::filesystem::is_directory(folder / "x.zip"));
    }

    // On a file system that ignores case, "x.ZIP" is its own copy too.
    void saveAsToANameWhoseZipCopyIsItselfWritesNothingAndKeepsTheChanges()
    {
        wqtest::TempFolder folder;
        TMainWindowSetup setup;
        setup.FillHeader();
        for (const std::string name : {"x.zip", "x.ZIP"}) {
            setup.Dialogs.AnswerFile(folder / name);
            QVERIFY(!setup.Main().SaveData());
            QCOMPARE(setup.Dialogs.Texts().back(),
                     "The data file cannot be saved as \"" + folder / name +
                         "\": its zip copy would have the same name and replace it. Choose a "
                         "name with another extension, such as \".wqd\".");
        }
        QCOMPARE(setup.Main().windowTitle(), kTitle + QLatin1Char('*'));
        QVERIFY(wqtest::FilesIn(folder.Path()).empty());
    }

    void openReadsAFileOnlyWhileNoCountryIsChosenAndRefills()
    {
        wqtest::TempFolder folder;
        {
            TMainWindowSetup writer;
            writer.FillHeader();
            new TWell(SubUnit("GR01a"), "W1");
            writer.Dialogs.AnswerFile(folder / "x.wqd");
            QVERIFY(writer.Main().SaveData());
        }
        TMainWindowSetup setup;
        setup.Dialogs.AnswerFile(folder / "x.wqd");
        setup.Find<QAction>("Load1")->trigger();
        QCOMPARE(CurrentSession().GetCountry()->GetCode(), std::string("GR"));
        QCOMPARE(setup.Find<QLineEdit>("edtResponsible")->text(), QStringLiteral("Maria P."));
        QCOMPARE(setup.Main().windowTitle(), kTitle);
        QCOMPARE(OverviewCell(0, 1), QStringLiteral("GR01a"));

        new TWell(SubUnit("GR01a"), "W2");
        setup.Find<QAction>("ToolButton1")->trigger();
        QCOMPARE(setup.Dialogs.Texts().back(),
                 std::string("In order to change the selected country restart the application."));
        QCOMPARE(setup.Dialogs.FileRequests().size(), std::size_t{1});
        QCOMPARE(OverviewCell(6, 1), QStringLiteral("2"));
    }

    void addSubUnitsReadsSuTxtOfTheCurrentFolderAndSaveRegionsKeepsThem()
    {
        TMainWindowSetup setup;
        wqtest::TempFolder folder;
        wqtest::WriteTextFile(folder / "su.txt", "x;GR01;GR01b\n");
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(folder.Path());
        setup.Find<QAction>("AddSU1")->trigger();
        std::filesystem::current_path(before);
        QVERIFY(SubUnit("GR01b") != nullptr);
        QCOMPARE(setup.Main().windowTitle(), kTitle);

        setup.Find<QAction>("SaveRegions1")->trigger();
        const std::string written = wqtest::ReadFileText(CurrentSession().FRegionsFile);
        QVERIFY(written.find("<Code>GR01b</Code>") != std::string::npos);
    }

    // A menu command's exception is shown from its handler rather than left
    // to unwind through Qt's menu code.
    void addSubUnitsWithoutSuTxtShowsTheErrorAndGoesOn()
    {
        TMainWindowSetup setup;
        wqtest::TempFolder folder;
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(folder.Path());
        setup.Find<QAction>("AddSU1")->trigger();
        std::filesystem::current_path(before);
        QVERIFY(setup.Dialogs.Texts().back().starts_with("Cannot open file \"su.txt\"."));
        QCOMPARE(setup.Dialogs.Messages().back().Type, TMsgDlgType::mtError);
        QCOMPARE(setup.Main().windowTitle(), kTitle);
    }
};

WQ_REGISTER_TEST(MainCommandsTest);
#include "main_commands_test.moc"
