#include <memory>
#include <stdexcept>

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>

#include "app/ozr_diag_abs1.h"
#include "app/ozr_diag_abs2.h"
#include "app/ozr_diag_abs3.h"
#include "app/ozr_diag_abs4.h"
#include "app/ozr_diag_abs5.h"
#include "app/ozr_water_abstractions.h"
#include "components/StrGrdQv.h"
#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "model/ozr_types.h"
#include "platform/scripted_dialogs.h"
#include "tests/app/app_tests.h"
#include "tests/qt_support/qt_tests.h"
#include "tests/qt_support/scripted_modal.h"
#include "tests/support/temp_folder.h"

namespace {

const char* const kGrids[] = {"gridDataTot",    "GridDataPub",   "GridDataSelf", "GridDataSelfSW",
                              "GridDataSelfGW", "GridDataNonFW", "GridDataOther"};

TQvStringGrid& Grid(QWidget& form, const char* name)
{
    return Find<TQvStringGrid>(form, name);
}

// Opens the in-place editor of a data cell, as a key press on it does.
QLineEdit& OpenEditor(TQvStringGrid& grid, int col, int row)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    grid.edit(grid.model()->index(row - 1, col - 1));
    auto* editor = grid.viewport()->findChild<QLineEdit*>();
    if (!editor)
        throw std::runtime_error("no cell editor");
    return *editor;
}

// Every text the form shows of a region: grids, source boxes, years, remarks.
QStringList FormTexts(QWidget& form)
{
    QStringList texts;
    for (const char* name : kGrids) {
        const TQvStringGrid& grid = Grid(form, name);
        for (int row = 0; row < grid.RowCount(); ++row)
            for (int col = 0; col < grid.ColCount(); ++col)
                texts << grid.Cell(col, row);
    }
    for (int i = 1; i <= 11; ++i)
        texts
            << Find<QComboBox>(form, qPrintable(QStringLiteral("ComboBox%1").arg(i))).currentText();
    texts << Find<QComboBox>(form, "cmboxYear").currentText()
          << Find<QLineEdit>(form, "edtFromYear").text()
          << Find<QLineEdit>(form, "edtToYear").text()
          << Find<QPlainTextEdit>(form, "Memo1").toPlainText();
    return texts;
}

// Distinct values in every data cell whose months add up to the annual value.
void FillEveryGrid(QWidget& form)
{
    for (int table = 0; table < 7; ++table) {
        TQvStringGrid& grid = Grid(form, kGrids[table]);
        for (int col = 1; col < grid.ColCount(); ++col) {
            const double base = table * 100 + col + 0.5;
            for (int row = 1; row <= 16; ++row)
                grid.SetCell(col, row, QString::number(row == 13 ? 12 * base + 78 : base + row));
        }
    }
}

}  // namespace

class WaterAbsFormTest : public QObject {
    Q_OBJECT

private:
    TRegion& NewCountry()
    {
        auto* country = new TRegion(nullptr, rtCountry, "GR");
        country->FName = "Greece";
        return *country;
    }

    std::unique_ptr<TSession> session_;
    TScriptedDialogs dialogs_;
    std::unique_ptr<ScopedDialogs> scopedDialogs_;
    std::unique_ptr<TScriptedModal> modal_;
    std::unique_ptr<TFormWaterAbs> form_;
    TRegion* region_ = nullptr;

private slots:
    void init()
    {
        session_ = std::make_unique<TSession>();
        Session = session_.get();
        region_ = &NewCountry();
        scopedDialogs_ = std::make_unique<ScopedDialogs>(dialogs_);
        modal_ = std::make_unique<TScriptedModal>();
        form_ = std::make_unique<TFormWaterAbs>();
    }

    void cleanup()
    {
        form_.reset();
        modal_.reset();
        scopedDialogs_.reset();
        session_.reset();
        Session = nullptr;
    }

    // Typing in either view shows in the other at once; Escape takes it back.
    void typingReachesTheMirrorAtOnce()
    {
        QString whileTyping, afterEscape, otherWay;
        modal_->Then([&](QDialog& w) {
            w.show();
            TQvStringGrid& self = Grid(w, "GridDataSelf");
            QLineEdit& dropped = OpenEditor(self, 2, 13);
            QTest::keyClicks(&dropped, QStringLiteral("7"));
            QTest::keyClick(&dropped, Qt::Key_Escape);
            afterEscape = Grid(w, "GridDataSelfSW").Cell(1, 13);
            QLineEdit& editor = OpenEditor(self, 2, 13);
            QTest::keyClicks(&editor, QStringLiteral("40"));
            whileTyping = Grid(w, "GridDataSelfSW").Cell(1, 13);
            QTest::keyClick(&editor, Qt::Key_Return);
            QLineEdit& gw = OpenEditor(Grid(w, "GridDataSelfGW"), 1, 1);
            QTest::keyClicks(&gw, QStringLiteral("2.5"));
            otherWay = self.Cell(3, 1);
            QTest::keyClick(&gw, Qt::Key_Return);
            QTRY_COMPARE(Grid(w, "GridDataSelfGW").Cell(1, 1), QStringLiteral("2.5"));
            Click(w, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        QCOMPARE(afterEscape, QString());
        QCOMPARE(whileTyping, QStringLiteral("40"));
        QCOMPARE(otherWay, QStringLiteral("2.5"));
        const TRegionTables& tables = region_->Tables();
        QCOMPARE(tables.FWAAbstractionForSelfSupplyTotalSW[0][AnnualIndex], 40.0);
        QCOMPARE(tables.FWAAbstractionForSelfSupplyTotalGW[0][0], 2.5);
    }

    // Loading, pasting, "Clear table" and CLEAR ALL keep both views equal.
    void changesWithoutTypingReachTheMirror()
    {
        TRegionTables& tables = region_->EditTables();
        tables.FWAAbstractionForSelfSupplyTotalSW[0][0] = 5;
        tables.FWAAbstractionForSelfSupplyTotalGW[0][1] = 6;
        QStringList seen;
        modal_->Then([&](QDialog& w) {
            TQvStringGrid& self = Grid(w, "GridDataSelf");
            TQvStringGrid& sw = Grid(w, "GridDataSelfSW");
            TQvStringGrid& gw = Grid(w, "GridDataSelfGW");
            seen << self.Cell(2, 1) << self.Cell(3, 2);
            QGuiApplication::clipboard()->setText(QStringLiteral("1\r\n2\r\n"));
            sw.PasteFromClipboard(1, 3);
            seen << self.Cell(2, 3) << self.Cell(2, 4);
            Click(w, "BitBtn9");
            seen << self.Cell(2, 1) << self.Cell(2, 3) << self.Cell(3, 2);
            Click(w, "BitBtn10");
            seen << gw.Cell(1, 2);
            gw.SetCell(1, 5, QStringLiteral("8"));
            Click(w, "BitBtnClear");
            seen << self.Cell(3, 5) << sw.Cell(1, 0) << self.Cell(2, 0) << self.Cell(0, 16);
            Click(w, "btnCancel");
        });
        QVERIFY(!form_->Edit(region_));
        QCOMPARE(seen, Strings({"5", "6", "1", "2", "", "", "6", "", "", "Total Volume",
                                "Total volume from SW", "LTAA"}));
        QCOMPARE(region_->Tables().FWAAbstractionForSelfSupplyTotalSW[0][0], 5.0);
    }

    // A bad value in a mirrored pair is reported for each of its two tables;
    // parts that do not add up to their total are no error.
    void badValueReportedForBothTables()
    {
        QStringList firstTry;
        modal_->Then([&](QDialog& w) {
            Grid(w, "GridDataSelfGW").SetCell(1, 1, QStringLiteral("abc"));
            Click(w, "btnInput");
            firstTry = modal_->TakeMessageLines();
            Grid(w, "GridDataSelf").SetCell(3, 1, QString());
            TQvStringGrid& total = Grid(w, "gridDataTot");
            total.SetCell(1, 13, QStringLiteral("100"));
            total.SetCell(2, 13, QStringLiteral("30"));
            total.SetCell(3, 13, QStringLiteral("20"));
            Click(w, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        QCOMPARE(firstTry.size(), 2);
        QVERIFY(
            firstTry[0].endsWith(QStringLiteral("A positive real number or zero is expected for "
                                                "the field: FW for self-supply (Total)")));
        QVERIFY(firstTry[1].endsWith(QStringLiteral("field: FW for self-supply (from GW)")));
        QVERIFY(modal_->MessageLines().isEmpty());
        QCOMPARE(region_->Tables().FWATotalAbstraction[AnnualIndex], 100.0);
        QCOMPARE(region_->Tables().FWAAbstractionForSelfSupplyTotalGW[0][0], MissingReal);
    }

    // A source shown for one region is not left over for the next.
    void sourceBoxesFollowTheRegion()
    {
        region_->EditTables().FWANonFWSource[3] = nfsLagoon;
        auto* other = new TRegion(region_, rtNUTS1, "GR1");
        QString lagoon;
        QList<int> otherIndexes;
        modal_->Then([&](QDialog& w) {
            lagoon = Find<QComboBox>(w, "ComboBox4").currentText();
            Click(w, "btnCancel");
        });
        modal_->Then([&](QDialog& w) {
            for (int i = 1; i <= 11; ++i)
                otherIndexes << Find<QComboBox>(w, qPrintable(QStringLiteral("ComboBox%1").arg(i)))
                                    .currentIndex();
            Find<QComboBox>(w, "ComboBox2").setCurrentText(QStringLiteral("Marine"));
            Click(w, "btnInput");
        });
        QVERIFY(!form_->Edit(region_));
        QVERIFY(form_->Edit(other));
        QCOMPARE(lagoon, QStringLiteral("Lagoon"));
        QCOMPARE(otherIndexes, QList<int>(11, -1));
        const auto& sources = other->Tables().FWANonFWSource;
        QCOMPARE(sources[1], nfsMarine);
        QCOMPARE(std::count(sources.begin(), sources.end(), nfsUnknown), 10);
    }

    // Sectors that have no column keep their values, CLEAR ALL included.
    void sectorsWithoutColumnSurvive()
    {
        TRegionTables& tables = region_->EditTables();
        tables.FWANonFreshwater[6][AnnualIndex] = 7.5;
        tables.FWANonFreshwater[13][0] = 4;
        tables.FWAAbstractionForSelfSupplyTotalSW[9][0] = 3;
        tables.FWATotalAbstraction[0] = 1;
        tables.FWALTAAFromYear = 1980;
        modal_->Then([](QDialog& w) { Click(w, "btnInput"); });
        modal_->Then([](QDialog& w) {
            Click(w, "BitBtnClear");
            Click(w, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        QVERIFY(form_->Edit(region_));
        QCOMPARE(tables.FWANonFreshwater[6][AnnualIndex], 7.5);
        QCOMPARE(tables.FWANonFreshwater[13][0], 4.0);
        QCOMPARE(tables.FWAAbstractionForSelfSupplyTotalSW[9][0], 3.0);
        QCOMPARE(tables.FWATotalAbstraction[0], MissingReal);
        QCOMPARE(tables.FWALTAAFromYear, MissingInteger);
        QCOMPARE(tables.FWAYear, 2008);
    }

    void yearThatIsNoWholeNumberIsRefused()
    {
        QStringList messages;
        modal_->Then([&](QDialog& w) {
            Find<QComboBox>(w, "cmboxYear").setEditText(QStringLiteral("20o8"));
            Grid(w, "gridDataTot").SetCell(1, 1, QStringLiteral("3"));
            Click(w, "btnInput");
            messages = modal_->TakeMessageLines();
            Click(w, "btnCancel");
        });
        QVERIFY(!form_->Edit(region_));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].endsWith(QStringLiteral("An integer number is expected for the Year")));
        QVERIFY(!region_->HasTables());
    }

    // The diagrams open over the form; help opens its context; the first page
    // is active on every opening.
    void diagramsHelpAndFirstPage()
    {
        TFormAbs1 abs1;
        TFormAbs2 abs2;
        TFormAbs3 abs3;
        TFormAbs4 abs4;
        TFormAbs5 abs5;
        FormAbs1 = &abs1;
        FormAbs2 = &abs2;
        FormAbs3 = &abs3;
        FormAbs4 = &abs4;
        FormAbs5 = &abs5;
        TRecordedHelp help;
        int reopenedPage = -1;
        modal_->Then([](QDialog& w) {
            for (const char* button : {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5"})
                Click(w, button);
            Click(w, "BitBtn6");
            Find<QTabWidget>(w, "PageControl1").setCurrentIndex(4);
            Click(w, "btnCancel");
        });
        for (int i = 0; i < 5; ++i)
            modal_->Then([](QDialog& diagram) { diagram.reject(); });
        modal_->Then([&](QDialog& w) {
            reopenedPage = Find<QTabWidget>(w, "PageControl1").currentIndex();
            Click(w, "btnCancel");
        });
        QVERIFY(!form_->Edit(region_));
        QVERIFY(!form_->Edit(region_));
        FormAbs1 = nullptr;
        FormAbs2 = nullptr;
        FormAbs3 = nullptr;
        FormAbs4 = nullptr;
        FormAbs5 = nullptr;
        QCOMPARE(modal_->Shown(), Strings({"FormWaterAbs", "FormAbs1", "FormAbs2", "FormAbs3",
                                           "FormAbs4", "FormAbs5", "FormWaterAbs"}));
        QCOMPARE(help.Contexts(), std::vector<int>{4000});
        QCOMPARE(reopenedPage, 0);
    }

    // What is typed comes back the same after saving and reading the data file.
    void roundTripThroughTheDataFile()
    {
        session_->SetCountry(region_);
        const wqtest::TempFolder folder;
        QStringList typed, reread;
        modal_->Then([&](QDialog& w) {
            FillEveryGrid(w);
            for (const char* box : {"ComboBox1", "ComboBox4", "ComboBox11"})
                Find<QComboBox>(w, box).setCurrentText(QStringLiteral("Brackish swamp"));
            Find<QComboBox>(w, "ComboBox7").setCurrentText(QStringLiteral("Other"));
            Find<QComboBox>(w, "cmboxYear").setCurrentText(QStringLiteral("2005"));
            Find<QLineEdit>(w, "edtFromYear").setText(QStringLiteral("1980"));
            Find<QLineEdit>(w, "edtToYear").setText(QStringLiteral("2004"));
            Find<QPlainTextEdit>(w, "Memo1").setPlainText(QStringLiteral("first\n\nthird"));
            typed = FormTexts(w);
            Click(w, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        QVERIFY(modal_->MessageLines().isEmpty());
        SaveDataFile(folder / "abs.wqd");

        TSession copy;
        Session = &copy;
        TRegion& reloaded = NewCountry();
        copy.FDataFile = folder / "abs.wqd";
        LoadDataFile();
        modal_->Then([&](QDialog& w) {
            reread = FormTexts(w);
            Click(w, "btnCancel");
        });
        QVERIFY(!form_->Edit(&reloaded));
        Session = session_.get();
        QCOMPARE(reread, typed);
        QCOMPARE(reloaded.Tables().FWAYear, 2005);
    }
};

WQ_REGISTER_TEST(WaterAbsFormTest);
#include "water_abs_form_test.moc"
