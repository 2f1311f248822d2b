#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>

#include "app/form_support.h"
#include "app/ozr_water_use.h"
#include "appcore/form_texts.h"
#include "components/StrGrdQv.h"
#include "components/frmMsgDlg.h"
#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "platform/regional_settings.h"
#include "platform/scripted_dialogs.h"
#include "tests/app/app_tests.h"
#include "tests/qt_support/qt_tests.h"
#include "tests/qt_support/scripted_modal.h"
#include "tests/support/temp_folder.h"

namespace {

// Types into a cell through the grid's own editor, as a user does.
void Type(TQvStringGrid& grid, int col, int row, const QString& text)
{
    grid.edit(grid.model()->index(row - 1, col - (grid.FixedCols() > 0 ? 1 : 0)));
    auto* editor = grid.findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->clear();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The grid commits and closes its editor from the event loop.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString Line(TMsgKind kind, const std::string& text)
{
    return TMessageDialog::MessageLine({QString::fromStdString(text), kind});
}

ozr_wu_large_item Item(const std::string& name, int itemClass, double first)
{
    ozr_wu_large_item item{itemClass, {}, name};
    for (std::size_t p = 0; p < item.WaterUse.size(); ++p)
        item.WaterUse[p] = first + static_cast<double>(p);
    return item;
}

}  // namespace

class WaterUseFormTest : public QObject {
    Q_OBJECT

    // Opens the form on the region and runs the script on it; Edit's result.
    bool Edit(std::function<void(QDialog&)> script)
    {
        modal_->Then(std::move(script));
        return form_->Edit(region_);
    }

    // Opens the form, lets `fill` enter values and presses OK (then Cancel
    // when the form stays open); the message lines shown.
    QStringList OkWith(const std::function<void(QDialog&)>& fill)
    {
        Edit([&](QDialog& form) {
            fill(form);
            Click(form, "btnInput");
            accepted_ = form.result() == QDialog::Accepted;
            if (!accepted_)
                Click(form, "btnCancel");
        });
        return modal_->TakeMessageLines();
    }

    TRegionTables& Tables() { return region_->EditTables(); }

    std::unique_ptr<TSession> session_;
    TScriptedDialogs dialogs_;
    std::unique_ptr<ScopedDialogs> scopedDialogs_;
    std::unique_ptr<TScriptedModal> modal_;
    std::unique_ptr<TFormWaterUse> form_;
    TRegion* region_ = nullptr;
    bool accepted_ = false;

private slots:
    void init()
    {
        session_ = std::make_unique<TSession>();
        Session = session_.get();
        scopedDialogs_ = std::make_unique<ScopedDialogs>(dialogs_);
        auto* country = new TRegion(nullptr, rtCountry, "GR", "Greece");
        session_->SetCountry(country);
        region_ = new TRegion(country, rtNUTS2, "GR11", "Anatoliki Makedonia, Thraki");
        modal_ = std::make_unique<TScriptedModal>();
        form_ = std::make_unique<TFormWaterUse>();
        session_->SetModified(false);
    }

    void cleanup()
    {
        QVERIFY(modal_->AllScriptsUsed());
        form_.reset();
        modal_.reset();
        scopedDialogs_.reset();
        session_.reset();
        Session = nullptr;
    }

    void laysOutPagesGridsAndTitleColours()
    {
        TRecordedHelp help;
        Edit([](QDialog& form) {
            auto& pages = Find<QTabWidget>(form, "PageControl1");
            const QStringList captions = {
                QStringLiteral("TabSheet1:Total volume of freshwater used "),
                QStringLiteral("TabSheet2:FW used provided by public water supply systems"),
                QStringLiteral("TabSheet3:Self-supply"), QStringLiteral("TabSheet6:Large items"),
                QStringLiteral("TabSheet4:Recycled water")};
            for (int i = 0; i < pages.count(); ++i)
                QCOMPARE(pages.widget(i)->objectName() + QLatin1Char(':') + pages.tabText(i),
                         captions[i]);
            auto& total = Find<TQvStringGrid>(form, "gridDataTot");
            auto& recycled = Find<TQvStringGrid>(form, "GridDataRec");
            auto& cities = Find<TQvStringGrid>(form, "gridLargeCities");
            QCOMPARE(QSize(total.ColCount(), total.RowCount()), QSize(17, 17));
            QCOMPARE(QSize(recycled.ColCount(), recycled.RowCount()), QSize(12, 17));
            QCOMPARE(QSize(cities.ColCount(), cities.RowCount()), QSize(18, 31));
            QCOMPARE(total.Cell(0, 9), QStringLiteral("Month 9 (Sept)"));
            QCOMPARE(total.Cell(16, 0), QStringLiteral("Other (e.g. construction)"));
            QCOMPARE(recycled.Cell(7, 0), QStringLiteral("Cooling water for industry"));
            QCOMPARE(cities.Cell(1, 0), QStringLiteral("Item class (1,2 or 3)"));
            const auto titled = [](TQvStringGrid& grid, int section) {
                return grid.horizontalHeaderItem(section)->background().color() ==
                       BgrColor(0xBBCCCC);
            };
            for (int col = 5; col <= 11; ++col) {
                QCOMPARE(titled(total, col - 1), col >= 6 && col <= 10);
                QVERIFY(!titled(recycled, col - 1));
            }
            QVERIFY(titled(cities, 0) && titled(cities, 1) && !titled(cities, 2));
            Click(form, "BitBtn6");
            Click(form, "btnCancel");
        });
        QCOMPARE(help.Contexts(), std::vector<int>{5000});
        QVERIFY(!session_->GetModified());
    }

    // 0 shows and stores as 0; a stored negative shows blank and stores as
    // missing; a cell a little below zero passes and is stored as it stands.
    void showsAndStoresByTheDisplayRules()
    {
        session_->FYear = 2005;
        Tables().FWUTotalFreshwaterUsed[0][0] = 0.0;
        Tables().FWUTotalFreshwaterUsed[1][0] = -5.0;
        Tables().FWURecycledWater[10][LTAAIndex] = 2.5;
        Tables().FWURemarks = "first\r\nsecond\r\n";
        QCOMPARE(
            OkWith([](QDialog& form) {
                QCOMPARE(Find<QComboBox>(form, "cmboxYear").currentText(), QStringLiteral("2005"));
                QCOMPARE(Find<QLineEdit>(form, "edtRegionType").text(), QStringLiteral("NUTS2"));
                QCOMPARE(Find<TQvStringGrid>(form, "gridDataTot").Cell(1, 1), QStringLiteral("0"));
                QCOMPARE(Find<TQvStringGrid>(form, "gridDataTot").Cell(2, 1), QString());
                QCOMPARE(Find<TQvStringGrid>(form, "GridDataRec").Cell(11, 16),
                         QStringLiteral("2.5"));
                Type(Find<TQvStringGrid>(form, "GridDataSelf"), 3, 13,
                     QStringLiteral(" -0.00000000001 "));
            }),
            QStringList());
        QVERIFY(accepted_ && session_->GetModified());
        QCOMPARE(Tables().FWUTotalFreshwaterUsed[0][0], 0.0);
        QCOMPARE(Tables().FWUTotalFreshwaterUsed[1][0], MissingReal);
        QCOMPARE(Tables().FWUSelfSupply[2][AnnualIndex], -1e-11);
        QCOMPARE(Tables().FWUYear, 2005);
        QCOMPARE(Tables().FWURemarks, std::string("first\r\nsecond\r\n"));
        Edit([](QDialog& form) {
            QCOMPARE(Find<TQvStringGrid>(form, "GridDataSelf").Cell(3, 13), QString());
            Click(form, "btnCancel");
        });
    }

    void refusesEachBadNumberOnceNamingItsTable()
    {
        ScopedRegionalSettings point('.');
        Tables().FWUSelfSupply[0][0] = 7;
        const QStringList findings = OkWith([](QDialog& form) {
            Find<TQvStringGrid>(form, "gridDataTot").SetCell(4, 2, QStringLiteral("1,5"));
            Find<TQvStringGrid>(form, "GridDataSelf").SetCell(1, 1, QStringLiteral("abc"));
            Find<TQvStringGrid>(form, "GridDataSelf").SetCell(2, 1, QStringLiteral("-0.001"));
            Find<TQvStringGrid>(form, "GridDataRec").SetCell(11, 16, QStringLiteral("x"));
            Find<QComboBox>(form, "cmboxYear").setEditText(QStringLiteral("20x8"));
        });
        const std::string grid = "A positive real number or zero is expected for the data grid: ";
        QCOMPARE(findings, QStringList({Line(mkError, SYearNotInteger),
                                        Line(mkError, grid + "Total volume of freshwater used"),
                                        Line(mkError, grid + "Self-suply"),
                                        Line(mkError, grid + "Self-suply"),
                                        Line(mkError, grid + "Recycled water")}));
        QVERIFY(!accepted_);
        QCOMPARE(Tables().FWUSelfSupply[0][0], 7.0);
        QCOMPARE(Tables().FWUYear, MissingInteger);
    }

    void checksMonthlySumsAndTheLTAAPeriod()
    {
        const QString sum = Line(mkError,
                                 "The monthly values in table: 'Self-supply' and column: 'Domestic "
                                 "water use' do not sum up to the annual value");
        const auto starting = [](const char* year) {
            return Line(mkError, std::string("An integer number between 1900 and ") + year +
                                     " is expected for the LTAA starting year");
        };
        // Annual value, month 5 (the others hold their number), LTAA years, year box.
        using TEntries = std::array<const char*, 5>;
        const std::vector<std::pair<TEntries, QStringList>> cases = {
            {{"78", "5", "", "", "2008"}, {}},
            {{"78.1", "5", "", "", "2008"}, {sum}},
            {{"78.1", "", "", "", "2008"}, {}},
            {{"", "", "1995", "2000", "2008"}, {Line(mkError, SLTAAPeriodTooShort)}},
            {{"", "", "1899", "", "2008"}, {starting("2008")}},
            {{"", "", "2005", "", "2003"}, {starting("2003")}},
            {{"", "", "1990", "2000", "2008"}, {Line(mkWarning, SLTAAPeriodShort)}},
        };
        for (const auto& [entries, expected] : cases) {
            const QStringList findings = OkWith([&entries](QDialog& form) {
                const auto entry = [&entries](int i) { return QString::fromLatin1(entries[i]); };
                auto& self = Find<TQvStringGrid>(form, "GridDataSelf");
                for (int month = 1; month <= 12; ++month)
                    self.SetCell(2, month, entry(0).isEmpty() ? QString() : QString::number(month));
                self.SetCell(2, 5, entry(1));
                self.SetCell(2, 13, entry(0));
                Find<QLineEdit>(form, "edtFromYear").setText(entry(2));
                Find<QLineEdit>(form, "edtToYear").setText(entry(3));
                Find<QComboBox>(form, "cmboxYear").setEditText(entry(4));
            });
            QCOMPARE(findings, expected);
            QCOMPARE(accepted_, findings.isEmpty() || expected[0].startsWith(QLatin1String("[W")));
        }
        QCOMPARE(Tables().FWULTAAFromYear, 1990);
        QCOMPARE(Tables().FWULTAAToYear, 2000);
    }

    void loadsChecksAndStoresLargeItems()
    {
        Tables().FWULargeItemsCity.assign(45, Item("City", 2, 1.0));
        Tables().FWULargeItemsIndustry = {Item("A", 1, 0.0), Item("B", -9999, -5.0)};
        const QStringList refused = OkWith([](QDialog& form) {
            QCOMPARE(Find<TQvStringGrid>(form, "gridLargeCities").RowCount(), 46);
            auto& industries = Find<TQvStringGrid>(form, "gridLargeIndustries");
            QCOMPARE(industries.RowCount(), 31);
            QCOMPARE(industries.Cell(2, 1) + industries.Cell(1, 2) + industries.Cell(2, 2),
                     QStringLiteral("0"));
            Find<TQvStringGrid>(form, "gridLargeAgricult").SetCell(1, 4, QStringLiteral("2.5"));
        });
        QCOMPARE(refused, QStringList(Line(mkError,
                                           "Column 'Item class' in table 'Total volume of water "
                                           "use per large agricultural unit'may have only values "
                                           "between 1 and 3")));
        OkWith([](QDialog& form) {
            auto& cities = Find<TQvStringGrid>(form, "gridLargeCities");
            Click(form, "BitBtn1");
            QCOMPARE(cities.RowCount(), 46);
            QCOMPARE(cities.Cell(0, 0), QStringLiteral("Name of item"));
            const std::tuple<int, int, const char*> typed[] = {
                {0, 3, "  Kavala "}, {2, 3, "12.5"}, {2, 5, "99"},
                {0, 7, "   "},       {1, 7, "2"},    {0, 45, "Drama"}};
            for (const auto& [col, row, text] : typed)
                cities.SetCell(col, row, QString::fromLatin1(text));
        });
        const auto& cities = Tables().FWULargeItemsCity;
        QCOMPARE(cities.size(), std::size_t(2));
        QCOMPARE(cities[0].ItemName + "/" + cities[1].ItemName, std::string("Kavala/Drama"));
        QCOMPARE(cities[0].ItemClass, MissingInteger);
        QCOMPARE(cities[0].WaterUse[0], 12.5);
        QCOMPARE(cities[0].WaterUse[1], MissingReal);
        QCOMPARE(Tables().FWULargeItemsIndustry[1].WaterUse[0], MissingReal);
    }

    void clearAllThenOkEmptiesTheRegion()
    {
        Tables().FWUYear = 2004;
        Tables().FWULTAAFromYear = 1970;
        Tables().FWURemarks = "note\r\n";
        Tables().FWUPublicWaterSupply[3][3] = 4;
        Tables().FWULargeItemsAgricUnit = {Item("Farm", 1, 1.0)};
        OkWith([](QDialog& form) {
            Click(form, "BitBtn5");
            QCOMPARE(Find<TQvStringGrid>(form, "GridDataPub").Cell(4, 4), QString());
            QCOMPARE(Find<TQvStringGrid>(form, "GridDataPub").Cell(4, 0),
                     QStringLiteral("Irrigation"));
            Click(form, "BitBtnClear");
            for (const char* box : {"edtRegionCode", "edtRegionDescription", "edtRegionType"})
                QCOMPARE(Find<QLineEdit>(form, box).text(), QString());
            QCOMPARE(Find<QComboBox>(form, "cmboxYear").currentText(), QStringLiteral("2008"));
        });
        QCOMPARE(Tables().FWUYear, 2008);
        QCOMPARE(Tables().FWULTAAFromYear, MissingInteger);
        QCOMPARE(Tables().FWURemarks, std::string());
        QVERIFY(!region_->HasWaterUseData());
    }

    // What is typed into every table comes back from a saved data file.
    void typedTablesSurviveADataFile()
    {
        wqtest::TempFolder folder;
        const std::string path = folder / "water_use.wqd";
        OkWith([](QDialog& form) {
            int next = 0;
            for (const char* name : {"gridDataTot", "GridDataPub", "GridDataSelf", "GridDataRec"}) {
                auto& grid = Find<TQvStringGrid>(form, name);
                for (int col = 1; col < grid.ColCount(); ++col)
                    for (int row = 1; row <= 16; ++row)
                        if (row != 13)
                            grid.SetCell(col, row, QString::number(++next * 1.25));
            }
            Type(Find<TQvStringGrid>(form, "gridDataTot"), 16, 16, QStringLiteral("0"));
            auto& industries = Find<TQvStringGrid>(form, "gridLargeIndustries");
            Type(industries, 0, 1, QStringLiteral("Steel works"));
            Type(industries, 1, 1, QStringLiteral("3"));
            Type(industries, 17, 1, QStringLiteral("8.125"));
            Find<QLineEdit>(form, "edtFromYear").setText(QStringLiteral("1971"));
            Find<QLineEdit>(form, "edtToYear").setText(QStringLiteral("2000"));
            Find<QPlainTextEdit>(form, "Memo1").setPlainText(QStringLiteral("Census"));
            Find<QComboBox>(form, "cmboxYear").setCurrentIndex(2);
        });
        QVERIFY(accepted_);
        SaveDataFile(path);
        const TRegionTables typed = region_->Tables();
        form_.reset();
        session_ = std::make_unique<TSession>();
        Session = session_.get();
        auto* country = new TRegion(nullptr, rtCountry, "GR", "Greece");
        session_->SetCountry(country);
        const TRegion* copy = new TRegion(country, rtNUTS2, "GR11");
        session_->FDataFile = path;
        LoadDataFile();
        const TRegionTables& read = copy->Tables();
        QCOMPARE(typed.FWUTotalFreshwaterUsed[15][LTAAIndex], 0.0);
        QCOMPARE(typed.FWUSelfSupply[4][5], (2 * 16 * 15 + 4 * 15 + 6) * 1.25);
        QCOMPARE(typed.FWURecycledWater[10][AnnualIndex], MissingReal);
        QCOMPARE(read.FWUYear, 2006);
        QCOMPARE(read.FWURemarks, std::string("Census\r\n"));
        QCOMPARE(read.FWULTAAFromYear * 10000 + read.FWULTAAToYear, 19712000);
        QVERIFY(read.FWUTotalFreshwaterUsed == typed.FWUTotalFreshwaterUsed);
        QVERIFY(read.FWUPublicWaterSupply == typed.FWUPublicWaterSupply);
        QVERIFY(read.FWUSelfSupply == typed.FWUSelfSupply);
        QVERIFY(read.FWURecycledWater == typed.FWURecycledWater);
        QCOMPARE(read.FWULargeItemsIndustry.size(), std::size_t(1));
        QCOMPARE(read.FWULargeItemsIndustry[0].ItemName, std::string("Steel works"));
        QCOMPARE(read.FWULargeItemsIndustry[0].ItemClass, 3);
        QCOMPARE(read.FWULargeItemsIndustry[0].WaterUse[LTAAIndex], 8.125);
    }
};

WQ_REGISTER_TEST(WaterUseFormTest);
#include "water_use_form_test.moc"
