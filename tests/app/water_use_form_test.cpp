#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>

#include "app/form_support.h"
#include "app/ozr_water_use.h"
#include "checks/form_texts.h"
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

template <typename TWidget = QWidget>
TWidget& Find(QDialog& form, const char* name)
{
    auto* widget = form.findChild<TWidget*>(QLatin1String(name));
    if (!widget)
        throw std::runtime_error(std::string("no control ") + name);
    return *widget;
}

TQvStringGrid& Grid(QDialog& form, const char* name)
{
    return Find<TQvStringGrid>(form, name);
}

void Click(QDialog& form, const char* name)
{
    Find<QAbstractButton>(form, name).click();
}

// Types the text into a cell through the grid's own editor, as a user does.
void Type(TQvStringGrid& grid, int col, int row, const QString& text)
{
    const int headerCol = grid.FixedCols() > 0 ? 1 : 0;
    grid.edit(grid.model()->index(row - 1, col - headerCol));
    auto* editor = grid.findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->clear();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The grid commits and closes its editor from the event loop.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString Line(TMsgKind kind, const char* text)
{
    return TMessageDialog::MessageLine({QString::fromUtf8(text), kind});
}

ozr_wu_large_item Item(const std::string& name, int itemClass, double first)
{
    ozr_wu_large_item item;
    item.ItemName = name;
    item.ItemClass = itemClass;
    for (std::size_t p = 0; p < item.WaterUse.size(); ++p)
        item.WaterUse[p] = first + static_cast<double>(p);
    return item;
}

}  // namespace

class WaterUseFormTest : public QObject {
    Q_OBJECT

    // Opens the form on the region, runs the script on it, and gives Edit's result.
    bool Edit(std::function<void(QDialog&)> script)
    {
        modal_->Then(std::move(script));
        return form_->Edit(region_);
    }

    // OK, then Cancel when the findings kept the form open; the lines shown.
    QStringList OkFindings(QDialog& form)
    {
        Click(form, "btnInput");
        accepted_ = form.result() == QDialog::Accepted;
        if (!accepted_)
            Click(form, "btnCancel");
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
            const QStringList captions = {QStringLiteral("Total volume of freshwater used "),
                                          QStringLiteral("FW used provided by public water "
                                                         "supply systems"),
                                          QStringLiteral("Self-supply"),
                                          QStringLiteral("Large items"),
                                          QStringLiteral("Recycled water")};
            const QStringList names = {QStringLiteral("TabSheet1"), QStringLiteral("TabSheet2"),
                                       QStringLiteral("TabSheet3"), QStringLiteral("TabSheet6"),
                                       QStringLiteral("TabSheet4")};
            for (int i = 0; i < pages.count(); ++i) {
                QCOMPARE(pages.tabText(i), captions[i]);
                QCOMPARE(pages.widget(i)->objectName(), names[i]);
            }
            QCOMPARE(form.windowTitle(), QStringLiteral("Water use"));
            for (const char* name : {"gridDataTot", "GridDataPub", "GridDataSelf", "GridDataRec"})
                QCOMPARE(Grid(form, name).RowCount(), 17);
            auto& total = Grid(form, "gridDataTot");
            auto& recycled = Grid(form, "GridDataRec");
            QCOMPARE(total.ColCount(), 17);
            QCOMPARE(recycled.ColCount(), 12);
            QCOMPARE(total.Cell(0, 9), QStringLiteral("Month 9 (Sept)"));
            QCOMPARE(total.Cell(16, 0), QStringLiteral("Other (e.g. construction)"));
            QCOMPARE(recycled.Cell(7, 0), QStringLiteral("Cooling water for industry"));
            const QColor title = BgrColor(0xBBCCCC);
            for (int col = 5; col <= 11; ++col) {
                const bool manufacturing = col >= 6 && col <= 10;
                QCOMPARE(total.horizontalHeaderItem(col - 1)->background().color() == title,
                         manufacturing);
                QVERIFY(recycled.horizontalHeaderItem(col - 1)->background().color() != title);
            }
            auto& cities = Grid(form, "gridLargeCities");
            QCOMPARE(cities.ColCount(), 18);
            QCOMPARE(cities.Cell(1, 0), QStringLiteral("Item class (1,2 or 3)"));
            QCOMPARE(cities.Cell(17, 0), QStringLiteral("LTAA"));
            for (int col = 0; col <= 2; ++col)
                QCOMPARE(cities.horizontalHeaderItem(col)->background().color() == title, col < 2);
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
        QVERIFY(Edit([this](QDialog& form) {
            QCOMPARE(Find<QComboBox>(form, "cmboxYear").currentText(), QStringLiteral("2005"));
            QCOMPARE(Find<QLineEdit>(form, "edtRegionType").text(), QStringLiteral("NUTS2"));
            auto& total = Grid(form, "gridDataTot");
            QCOMPARE(total.Cell(1, 1), QStringLiteral("0"));
            QCOMPARE(total.Cell(2, 1), QString());
            QCOMPARE(Grid(form, "GridDataRec").Cell(11, 16), QStringLiteral("2.5"));
            Type(Grid(form, "GridDataSelf"), 3, 13, QStringLiteral(" -0.00000000001 "));
            QCOMPARE(OkFindings(form), QStringList());
        }));
        QVERIFY(accepted_);
        QCOMPARE(Tables().FWUTotalFreshwaterUsed[0][0], 0.0);
        QCOMPARE(Tables().FWUTotalFreshwaterUsed[1][0], MissingReal);
        QCOMPARE(Tables().FWUSelfSupply[2][AnnualIndex], -1e-11);
        QCOMPARE(Tables().FWUYear, 2005);
        QCOMPARE(Tables().FWURemarks, std::string("first\r\nsecond\r\n"));
        QVERIFY(session_->GetModified());
        Edit([](QDialog& form) {
            QCOMPARE(Grid(form, "GridDataSelf").Cell(3, 13), QString());
            Click(form, "btnCancel");
        });
    }

    void refusesBadNumbersPerCellNamingTheirTables()
    {
        ScopedRegionalSettings point('.');
        Tables().FWUSelfSupply[0][0] = 7;
        const QStringList findings = [this] {
            QStringList lines;
            Edit([&](QDialog& form) {
                Grid(form, "gridDataTot").SetCell(4, 2, QStringLiteral("1,5"));
                Grid(form, "GridDataSelf").SetCell(1, 1, QStringLiteral("abc"));
                Grid(form, "GridDataSelf").SetCell(2, 1, QStringLiteral("-0.001"));
                Grid(form, "GridDataRec").SetCell(11, 16, QStringLiteral("x"));
                Find<QComboBox>(form, "cmboxYear").setEditText(QStringLiteral("20x8"));
                lines = OkFindings(form);
            });
            return lines;
        }();
        QVERIFY(!accepted_);
        const char* pattern = "A positive real number or zero is expected for the data grid: ";
        QCOMPARE(
            findings,
            QStringList(
                {Line(mkError, SYearNotInteger),
                 Line(mkError, (std::string(pattern) + "Total volume of freshwater used").c_str()),
                 Line(mkError, (std::string(pattern) + "Self-suply").c_str()),
                 Line(mkError, (std::string(pattern) + "Self-suply").c_str()),
                 Line(mkError, (std::string(pattern) + "Recycled water").c_str())}));
        QCOMPARE(Tables().FWUSelfSupply[0][0], 7.0);
        QCOMPARE(Tables().FWUYear, MissingInteger);
    }

    void checksMonthlySumsAndTheLTAAPeriod()
    {
        struct TCase {
            QString Annual, Month5, From, To, Year;
            QStringList Expected;
            bool Accepted;
        };
        const QString sum = QStringLiteral(
            "The monthly values in table: 'Self-supply' and column: 'Domestic water use' do "
            "not sum up to the annual value");
        const QList<TCase> cases = {
            {QStringLiteral("78"), QStringLiteral("5"), {}, {}, QStringLiteral("2008"), {}, true},
            {QStringLiteral("78.1"),
             QStringLiteral("5"),
             {},
             {},
             QStringLiteral("2008"),
             {Line(mkError, sum.toUtf8().constData())},
             false},
            {QStringLiteral("78.1"), QString(), {}, {}, QStringLiteral("2008"), {}, true},
            {{},
             {},
             QStringLiteral("1990"),
             QStringLiteral("2000"),
             QStringLiteral("2008"),
             {Line(mkWarning, SLTAAPeriodShort)},
             true},
            {{},
             {},
             QStringLiteral("1995"),
             QStringLiteral("2000"),
             QStringLiteral("2008"),
             {Line(mkError, SLTAAPeriodTooShort)},
             false},
            {{},
             {},
             QStringLiteral("1899"),
             {},
             QStringLiteral("2008"),
             {Line(mkError,
                   "An integer number between 1900 and 2008 is expected for the LTAA "
                   "starting year")},
             false},
            {{},
             {},
             QStringLiteral("2005"),
             {},
             QStringLiteral("2003"),
             {Line(mkError,
                   "An integer number between 1900 and 2003 is expected for the LTAA "
                   "starting year")},
             false},
        };
        for (const TCase& c : cases) {
            Edit([&](QDialog& form) {
                auto& self = Grid(form, "GridDataSelf");
                for (int month = 1; month <= 12; ++month)
                    self.SetCell(2, month, c.Annual.isEmpty() ? QString() : QString::number(month));
                self.SetCell(2, 5, c.Month5);
                self.SetCell(2, 13, c.Annual);
                Find<QLineEdit>(form, "edtFromYear").setText(c.From);
                Find<QLineEdit>(form, "edtToYear").setText(c.To);
                Find<QComboBox>(form, "cmboxYear").setEditText(c.Year);
                QCOMPARE(OkFindings(form), c.Expected);
                QCOMPARE(accepted_, c.Accepted);
            });
        }
        QCOMPARE(Tables().FWULTAAFromYear, 1990);
        QCOMPARE(Tables().FWULTAAToYear, 2000);
    }

    void loadsChecksAndStoresLargeItems()
    {
        Tables().FWULargeItemsCity.assign(45, Item("City", 2, 1.0));
        Tables().FWULargeItemsIndustry = {Item("A", 1, 0.0), Item("B", -9999, -5.0),
                                          Item("C", 3, 2.0)};
        Edit([this](QDialog& form) {
            QCOMPARE(Grid(form, "gridLargeCities").RowCount(), 46);
            auto& industries = Grid(form, "gridLargeIndustries");
            QCOMPARE(industries.RowCount(), 31);
            QCOMPARE(industries.Cell(2, 1), QStringLiteral("0"));
            QCOMPARE(industries.Cell(1, 2), QString());
            QCOMPARE(industries.Cell(2, 2), QString());
            auto& units = Grid(form, "gridLargeAgricult");
            const QStringList badClasses = {QStringLiteral("4"), QStringLiteral("0"),
                                            QStringLiteral("2.5"), QStringLiteral("x")};
            for (int i = 0; i < badClasses.size(); ++i) {
                units.SetCell(0, i + 1, QStringLiteral("Unit"));
                units.SetCell(1, i + 1, badClasses[i]);
            }
            const QString message = Line(mkError,
                                         "Column 'Item class' in table 'Total volume of water "
                                         "use per large agricultural unit'may have only values "
                                         "between 1 and 3");
            QCOMPARE(OkFindings(form), QStringList(4, message));
        });
        Edit([this](QDialog& form) {
            Click(form, "BitBtn1");
            auto& cities = Grid(form, "gridLargeCities");
            QCOMPARE(cities.RowCount(), 46);
            QCOMPARE(cities.Cell(0, 0), QStringLiteral("Name of item"));
            cities.SetCell(0, 3, QStringLiteral("  Kavala "));
            cities.SetCell(2, 3, QStringLiteral("12.5"));
            cities.SetCell(2, 5, QStringLiteral("99"));
            cities.SetCell(0, 7, QStringLiteral("   "));
            cities.SetCell(1, 7, QStringLiteral("2"));
            cities.SetCell(0, 45, QStringLiteral("Drama"));
            QCOMPARE(OkFindings(form), QStringList());
        });
        const auto& cities = Tables().FWULargeItemsCity;
        QCOMPARE(cities.size(), std::size_t(2));
        QCOMPARE(cities[0].ItemName, std::string("Kavala"));
        QCOMPARE(cities[0].ItemClass, MissingInteger);
        QCOMPARE(cities[0].WaterUse[0], 12.5);
        QCOMPARE(cities[0].WaterUse[1], MissingReal);
        QCOMPARE(cities[1].ItemName, std::string("Drama"));
        QCOMPARE(Tables().FWULargeItemsIndustry.size(), std::size_t(3));
        QCOMPARE(Tables().FWULargeItemsIndustry[1].WaterUse[0], MissingReal);
    }

    void clearAllThenOkEmptiesTheRegion()
    {
        Tables().FWUYear = 2004;
        Tables().FWULTAAFromYear = 1970;
        Tables().FWURemarks = "note\r\n";
        Tables().FWUPublicWaterSupply[3][3] = 4;
        Tables().FWULargeItemsAgricUnit = {Item("Farm", 1, 1.0)};
        Edit([this](QDialog& form) {
            Click(form, "BitBtn5");
            QCOMPARE(Grid(form, "GridDataPub").Cell(4, 4), QString());
            QCOMPARE(Grid(form, "GridDataPub").Cell(4, 0), QStringLiteral("Irrigation"));
            Click(form, "BitBtnClear");
            for (const char* box : {"edtRegionCode", "edtRegionDescription", "edtRegionType"})
                QCOMPARE(Find<QLineEdit>(form, box).text(), QString());
            QCOMPARE(Find<QComboBox>(form, "cmboxYear").currentText(), QStringLiteral("2008"));
            QCOMPARE(OkFindings(form), QStringList());
        });
        QCOMPARE(Tables().FWUYear, 2008);
        QCOMPARE(session_->FYear, 2008);
        QCOMPARE(Tables().FWULTAAFromYear, MissingInteger);
        QCOMPARE(Tables().FWURemarks, std::string());
        QVERIFY(!region_->HasWaterUseData());
    }

    // What is typed into every table comes back from a saved data file.
    void typedTablesSurviveADataFile()
    {
        wqtest::TempFolder folder;
        const std::string path = folder / "water_use.wqd";
        const auto value = [](int grid, int col, int row) {
            return QString::number(grid * 1000 + col * 20 + row + 0.25);
        };
        const char* grids[] = {"gridDataTot", "GridDataPub", "GridDataSelf", "GridDataRec"};
        Edit([&](QDialog& form) {
            for (int g = 0; g < 4; ++g) {
                auto& grid = Grid(form, grids[g]);
                for (int col = 1; col < grid.ColCount(); ++col)
                    for (int row = 1; row <= 16; ++row)
                        if (row != 13)
                            grid.SetCell(col, row, value(g, col, row));
            }
            Type(Grid(form, "gridDataTot"), 16, 16, QStringLiteral("0"));
            auto& industries = Grid(form, "gridLargeIndustries");
            Type(industries, 0, 1, QStringLiteral("Steel works"));
            Type(industries, 1, 1, QStringLiteral("3"));
            Type(industries, 17, 1, QStringLiteral("8.125"));
            Find<QLineEdit>(form, "edtFromYear").setText(QStringLiteral("1971"));
            Find<QLineEdit>(form, "edtToYear").setText(QStringLiteral("2000"));
            Find<QPlainTextEdit>(form, "Memo1").setPlainText(QStringLiteral("Census"));
            Find<QComboBox>(form, "cmboxYear").setCurrentIndex(2);
            QCOMPARE(OkFindings(form), QStringList());
        });
        SaveDataFile(path);
        const TRegionTables typed = region_->Tables();
        form_.reset();
        session_ = std::make_unique<TSession>();
        Session = session_.get();
        session_->SetCountry(new TRegion(nullptr, rtCountry, "GR", "Greece"));
        auto* copy = new TRegion(static_cast<TRegion*>(session_->FCountries[0]), rtNUTS2, "GR11");
        session_->FDataFile = path;
        LoadDataFile();
        const TRegionTables& read = copy->Tables();
        QCOMPARE(read.FWUYear, 2006);
        QCOMPARE(read.FWURemarks, std::string("Census\r\n"));
        QCOMPARE(read.FWULTAAFromYear, 1971);
        QCOMPARE(read.FWULTAAToYear, 2000);
        QCOMPARE(typed.FWUTotalFreshwaterUsed[15][LTAAIndex], 0.0);
        QCOMPARE(typed.FWUSelfSupply[4][5], value(2, 5, 6).toDouble());
        QCOMPARE(typed.FWURecycledWater[10][AnnualIndex], MissingReal);
        QVERIFY(read.FWUTotalFreshwaterUsed == typed.FWUTotalFreshwaterUsed);
        QVERIFY(read.FWUPublicWaterSupply == typed.FWUPublicWaterSupply);
        QVERIFY(read.FWUSelfSupply == typed.FWUSelfSupply);
        QVERIFY(read.FWURecycledWater == typed.FWURecycledWater);
        QCOMPARE(read.FWULargeItemsIndustry.size(), std::size_t(1));
        QCOMPARE(read.FWULargeItemsIndustry[0].ItemName, std::string("Steel works"));
        QCOMPARE(read.FWULargeItemsIndustry[0].ItemClass, 3);
        QCOMPARE(read.FWULargeItemsIndustry[0].WaterUse[LTAAIndex], 8.125);
        QVERIFY(read.FWULargeItemsCity.empty());
    }
};

WQ_REGISTER_TEST(WaterUseFormTest);
#include "water_use_form_test.moc"
