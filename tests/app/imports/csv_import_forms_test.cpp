#include <memory>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include "app/imports/ozr_io_load_CSV_flow.h"
#include "app/imports/ozr_io_load_CSV_stations.h"
#include "model/ozr_types.h"
#include "platform/regional_settings.h"
#include "platform/scripted_dialogs.h"
#include "tests/app/app_tests.h"
#include "tests/qt_support/qt_tests.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

QLineEdit& Edit(QWidget& form, const char* name)
{
    return Find<QLineEdit>(form, name);
}

QStringList MemoLines(QWidget& form)
{
    return Find<QPlainTextEdit>(form, "Memo1").toPlainText().split(QLatin1Char('\n'));
}

}  // namespace

class CsvImportFormsTest : public QObject {
    Q_OBJECT

private:
    // Fills the file box through the Open button, as a user does.
    void OpenFile(QWidget& form, const char* text)
    {
        dialogs_.AnswerFile(wqtest::WriteTextFile(*folder_ / "in.csv", text));
        Click(form, "Button1");
    }

    TStreamFlow* Flow(const std::string& id)
    {
        TEntity* found = nullptr;
        return FindStation(id, skStreamFlow, found) ? static_cast<TStreamFlow*>(found) : nullptr;
    }

    std::unique_ptr<TSession> session_;
    std::unique_ptr<ScopedRegionalSettings> settings_;
    std::unique_ptr<wqtest::TempFolder> folder_;
    TScriptedDialogs dialogs_;
    std::unique_ptr<ScopedDialogs> scopedDialogs_;
    std::unique_ptr<TRecordedHelp> help_;
    TRegion* rbd_ = nullptr;

private slots:
    // The country GR with the RBD GR01 and its stream-flow station Q1.
    void init()
    {
        session_ = std::make_unique<TSession>();
        Session = session_.get();
        auto* country = new TRegion(nullptr, rtCountry, "GR", "Greece");
        rbd_ = new TRegion(country, rtRBD, "GR01", "Western Peloponnese");
        new TStreamFlow(rbd_, "Q1");
        session_->SetCountry(country);
        session_->SetModified(false);
        settings_ = std::make_unique<ScopedRegionalSettings>('.', "dd/mm/yyyy");
        folder_ = std::make_unique<wqtest::TempFolder>();
        dialogs_.Clear();
        scopedDialogs_ = std::make_unique<ScopedDialogs>(dialogs_);
        help_ = std::make_unique<TRecordedHelp>();
    }

    void cleanup()
    {
        help_.reset();
        scopedDialogs_.reset();
        folder_.reset();
        settings_.reset();
        session_.reset();
        Session = nullptr;
    }

    // The boxes start as a user finds them; showing fills in the country;
    // Open proposes CSV files and a cancelled dialog keeps the name.
    void formsStartWithTheirSettingsAndCountry()
    {
        TFormCSVStationsImport stations;
        TFormCSVFlowImport flow;
        for (QWidget* form : {static_cast<QWidget*>(&stations), static_cast<QWidget*>(&flow)}) {
            QVERIFY(form->windowFlags().testFlag(Qt::Tool));
            QCOMPARE(Edit(*form, "edtDelim").text(), QStringLiteral(";"));
            QCOMPARE(Edit(*form, "edtDelim").maxLength(), 2);
            QCOMPARE(Edit(*form, "edtStartRow").text(), QStringLiteral("1"));
            QCOMPARE(Edit(*form, "edtStartRow").maxLength(), 1);
            form->show();
            QCOMPARE(Edit(*form, "edtCountryCode").text(), QStringLiteral("GR"));
            QCOMPARE(Edit(*form, "edtCountryDescription").text(), QStringLiteral("Greece"));
            OpenFile(*form, "");
            dialogs_.AnswerFile(std::nullopt);
            Click(*form, "Button1");
            QCOMPARE(Edit(*form, "edtFileName").text(),
                     QString::fromStdString(*folder_ / "in.csv"));
            Click(*form, "BitBtn1");
            form->hide();
        }
        QCOMPARE(stations.windowTitle(), QStringLiteral("Import stations"));
        QCOMPARE(flow.windowTitle(), QStringLiteral("Import daily streamflow data"));
        QCOMPARE(Find<QComboBox>(stations, "cmboxYear").currentText(), QStringLiteral("2008"));
        QCOMPARE(Find<QComboBox>(stations, "cmboxYear").count(), 11);
        QCOMPARE(dialogs_.FileRequests().front().Filter,
                 std::string("Comma Separated Values (*.csv)|*.csv|All files (*.*)|*.*"));
        QCOMPARE(help_->Contexts(), (std::vector<int>{2510, 2520}));
        QVERIFY(dialogs_.Messages().empty());
    }

    // "Check" creates nothing; "Import" creates the stations of the chosen
    // kind with the year of the year box.
    void checkThenImportCreateTheStations()
    {
        TFormCSVStationsImport form;
        form.show();
        OpenFile(form,
                 "scale;region;code;name;lon;lat\n"
                 "rbd;GR01;W1;Well one;23.5;38.1\n"
                 "country;GR;W2;Well two;22;37\n");
        Edit(form, "edtStartRow").setText(QStringLiteral("2"));
        Find<QComboBox>(form, "cmboxYear").setCurrentText(QStringLiteral("2005"));
        Click(form, "rbGroundwater");
        Click(form, "Button2");
        QCOMPARE(MemoLines(form), Strings({"Check passed"}));
        QCOMPARE(session_->FWells.Count(), 0);

        Click(form, "Button3");
        QCOMPARE(MemoLines(form), Strings({"Data imported"}));
        TEntity* well = nullptr;
        QVERIFY(FindStation("W1", skWell, well));
        QCOMPARE(well->FName, std::string("Well one"));
        QCOMPARE(well->FYear, 2005);
        QCOMPARE(well->FRegion, rbd_);
        QCOMPARE(session_->FWells.Count(), 2);
        QVERIFY(dialogs_.Messages().empty());
    }

    // A failing file lists its lines and tells the user in an error box that
    // nothing came in; a later "Check" replaces the memo's lines.
    void failingStationFileImportsNothing()
    {
        TFormCSVStationsImport form;
        form.show();
        OpenFile(form,
                 "rbd;GR01;R1;One;1;2;M\n"
                 "rbd;XX;R2;Two;1;2;M\n"
                 "rbd;GR01;R3;Three;1;2\n");
        Click(form, "rbReservoir");
        Click(form, "Button3");
        QCOMPARE(MemoLines(form),
                 Strings({"Line 2: Unrecognized region with code 'XX' in Country 'Greece'",
                          "Line 3: No reservoir type found ('M': Man made 'N': Natural)"}));
        QCOMPARE(dialogs_.Messages().size(), std::size_t{1});
        const TScriptedDialogs::Shown& box = dialogs_.Messages().front();
        QCOMPARE(box.Text,
                 std::string("Errors found. Nothing imported. Correct the errors and reload the "
                             "file."));
        QVERIFY(box.Type == TMsgDlgType::mtError);
        QCOMPARE(box.Buttons, TMsgDlgButtons{mbOK});
        QCOMPARE(session_->FReservoirs.Count(), 0);
        QVERIFY(!session_->GetModified());

        TFormCSVStationsImport untyped;
        OpenFile(untyped, "rbd;GR01;R1;One;1;2;M\n");
        Find<QComboBox>(untyped, "cmboxYear").setCurrentText(QStringLiteral("20x8"));
        Click(untyped, "Button2");
        QCOMPARE(MemoLines(untyped),
                 Strings({"No data type selected", "An integer number is expected for the Year"}));
        // The file now holds only the good line.
        Click(form, "Button2");
        QCOMPARE(MemoLines(form), Strings({"Check passed"}));
    }

    // The delimiter box takes one character, also one that needs two UTF-16
    // units, and the import splits on the whole of it.
    void delimiterBoxTakesOneWholeCharacter()
    {
        TFormCSVFlowImport form;
        form.show();
        QLineEdit& delimiter = Edit(form, "edtDelim");
        delimiter.clear();
        QTest::keyClicks(&delimiter, QStringLiteral("§x"));
        QCOMPARE(delimiter.text(), QStringLiteral("§"));
        delimiter.clear();
        delimiter.insert(QString::fromUtf8("\U0001D11E"));
        OpenFile(form, "Q1\U0001D11E15/03/2005\U0001D11E12.7\n");
        Click(form, "Button3");
        QCOMPARE(MemoLines(form), Strings({"Data imported"}));
        QCOMPARE(Flow("Q1")->FDailyData[73], 12.7);
    }

    // The daily import stores the values of a good file and marks the session
    // modified; a failing file changes nothing and shows its own error box.
    void dailyImportFillsTheValues()
    {
        TFormCSVFlowImport form;
        form.show();
        OpenFile(form, "q1;15/03/2005;12.7\nQ1;31/12/2005;0\n");
        Click(form, "Button2");
        QCOMPARE(MemoLines(form), Strings({"Check passed"}));
        QCOMPARE(Flow("Q1")->FDailyData[73], MissingReal);
        Click(form, "Button3");
        QCOMPARE(MemoLines(form), Strings({"Data imported"}));
        QCOMPARE(Flow("Q1")->FDailyData[73], 12.7);
        QCOMPARE(Flow("Q1")->FDailyData[364], 0.0);
        QCOMPARE(Flow("Q1")->FYear, 2005);
        QVERIFY(session_->GetModified());
        QVERIFY(dialogs_.Messages().empty());

        session_->SetModified(false);
        OpenFile(form, "Q1;16/03/2005;3\nQ1;17/03/2005;-0.5\n");
        Click(form, "Button3");
        QCOMPARE(MemoLines(form),
                 Strings({"Line 2: The streamflow value must be a positive real number"}));
        QCOMPARE(dialogs_.Texts(),
                 std::vector<std::string>{"Errors found. Correct the errors and reload the file."});
        QCOMPARE(Flow("Q1")->FDailyData[74], MissingReal);
        QVERIFY(!session_->GetModified());
    }
};

WQ_REGISTER_TEST(CsvImportFormsTest);
#include "csv_import_forms_test.moc"
