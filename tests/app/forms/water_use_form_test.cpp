#include "app/forms/ozr_water_use.h"
#include "appcore/form_texts.h"
#include "platform/regional_settings.h"
#include "tests/app/forms/table_form_tests.h"
#include "tests/qt_support/qt_tests.h"

class WaterUseFormTest : public QObject {
    Q_OBJECT

private slots:
    // 0 shows and stores as 0; a stored negative shows blank and stores as
    // missing; a cell a little below zero passes and is stored as it stands; a
    // region without a year opens with the session's. The large item grids
    // grow with the items; a row with values but no name is dropped.
    void showsAndStoresByTheDisplayRules()
    {
        TTableFormBed<TFormWaterUse> bed;
        Session->FYear = 2005;
        TRegionTables& tables = bed.Tables();
        tables.FWUTotalFreshwaterUsed[0][0] = 0.0;
        tables.FWUTotalFreshwaterUsed[1][0] = -5.0;
        tables.FWULargeItemsCity.assign(45, {2, {}, "City"});
        tables.FWULargeItemsIndustry = {{-9999, {-5.0}, "A"}, {1, {}, "B"}, {3, {}, "C"}};
        bed.OkWith([](QDialog& form) {
            const TQvStringGrid& total = Grid(form, "gridDataTot");
            const TQvStringGrid& cities = Grid(form, "gridLargeCities");
            const TQvStringGrid& industries = Grid(form, "gridLargeIndustries");
            QCOMPARE(
                QStringList({Find<QComboBox>(form, "cmboxYear").currentText(), total.Cell(1, 1),
                             total.Cell(2, 1), industries.Cell(1, 1), industries.Cell(2, 1)}),
                Strings({"2005", "0", "", "", ""}));
            QCOMPARE(QPoint(cities.RowCount(), industries.RowCount()), QPoint(46, 31));
            Click(form, "BitBtn1");
            SetCells(form, "gridLargeCities",
                     {{0, 3, "Kavala"}, {2, 3, "12.5"}, {2, 5, "99"}, {0, 45, "Drama"}});
            SetCells(form, "GridDataSelf", {{3, 13, " -0.00000000001 "}});
        });
        QVERIFY(tables.FWUTotalFreshwaterUsed[0][0] == 0 &&
                tables.FWUTotalFreshwaterUsed[1][0] == MissingReal);
        QCOMPARE(tables.FWUSelfSupply[2][AnnualIndex], -1e-11);
        QCOMPARE(tables.FWUYear, 2005);
        const auto& cities = tables.FWULargeItemsCity;
        QCOMPARE(cities.size(), std::size_t(2));
        QCOMPARE(cities[0].ItemName + "/" + cities[1].ItemName, std::string("Kavala/Drama"));
        QVERIFY(cities[0].ItemClass == MissingInteger && cities[0].WaterUse[0] == 12.5);
        QCOMPARE(tables.FWULargeItemsIndustry[0].WaterUse[0], MissingReal);
    }

    // Each bad cell once, naming its table; the LTAA years are weighed against
    // the year box; nothing is stored. The year check stands for the other
    // table forms too. CLEAR ALL then OK stores the first year and no data.
    void refusesBadInputAndClearAllEmpties()
    {
        TTableFormBed<TFormWaterUse> bed;
        ScopedRegionalSettings point('.');
        bed.Tables().FWUSelfSupply[0][0] = 7;
        const QStringList findings = bed.OkWith([](QDialog& form) {
            SetCells(form, "GridDataSelf", {{1, 1, "abc"}, {2, 1, "-0.001"}});
            SetCells(form, "gridDataTot", {{4, 2, "1,5"}});
            SetCells(form, "GridDataRec", {{11, 16, "x"}});
            SetCells(form, "gridLargeAgricult", {{1, 4, "x"}});
            Find<QLineEdit>(form, "edtFromYear").setText(QStringLiteral("1899"));
            Find<QComboBox>(form, "cmboxYear").setCurrentText(QStringLiteral("2003"));
        });
        const std::string grid = "A positive real number or zero is expected for the data grid: ";
        QCOMPARE(findings,
                 QStringList(
                     {Error(grid + "Total volume of freshwater used"), Error(grid + "Self-suply"),
                      Error(grid + "Self-suply"), Error(grid + "Recycled water"),
                      Error("An integer number between 1900 and 2003 is expected for the "
                            "LTAA starting year"),
                      Error("Column 'Item class' in table 'Total volume of water use per "
                            "large agricultural unit'may have only values between 1 and 3")}));
        const auto year = [](QDialog& form) {
            Find<QComboBox>(form, "cmboxYear").setCurrentText(QStringLiteral("20x8"));
        };
        QCOMPARE(bed.OkWith(year), QStringList(Error(SYearNotInteger)));
        QCOMPARE(bed.Tables().FWUSelfSupply[0][0], 7.0);
        bed.OkWith([](QDialog& form) { Click(form, "BitBtnClear"); });
        QCOMPARE(bed.Tables().FWUYear, 2008);
        QVERIFY(!bed.Country->HasWaterUseData());
    }

    void typedTablesSurviveADataFile()
    {
        ExpectDataFileKeeps<TFormWaterUse>([](QDialog& form) {
            SetCells(form, "gridLargeIndustries",
                     {{0, 1, "Steel works"}, {1, 1, "3"}, {17, 1, "8.125"}});
        });
    }
};

WQ_REGISTER_TEST(WaterUseFormTest);
#include "water_use_form_test.moc"
