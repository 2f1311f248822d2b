#include <algorithm>
#include <array>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QtTest>

#include "app/ozr_diag_wb_return_flow.h"
#include "app/ozr_water_balance.h"
#include "components/StrGrdQv.h"
#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "platform/exception.h"
#include "platform/scripted_dialogs.h"
#include "tests/app/app_tests.h"
#include "tests/qt_support/qt_tests.h"
#include "tests/qt_support/scripted_modal.h"
#include "tests/support/temp_folder.h"

namespace {

void Type(QWidget& form, const char* grid, int col, int row, const QString& text)
{
    Find<TQvStringGrid>(form, grid).SetCell(col, row, text);
}

QString Cell(QWidget& form, const char* grid, int col, int row)
{
    return Find<TQvStringGrid>(form, grid).Cell(col, row);
}

bool NoOriginChecked(QWidget& form)
{
    return std::ranges::none_of(
        std::array{"rbReturnFlow", "rbDesalinatedWater", "rbWaterImports"},
        [&form](const char* name) { return Find<QRadioButton>(form, name).isChecked(); });
}

// The grids in the order of the tables, with their data columns.
const std::vector<std::pair<const char*, int>> kGrids = {
    {"gridData1", 9},       {"gridData2", 3},      {"gridData3", 10},
    {"gridDataReused", 11}, {"gridDataDesal", 11}, {"gridData4", 5}};

// The quantities behind the grids' columns, grid after grid.
std::vector<TEntityData*> GridColumns(TRegionTables& tables)
{
    std::vector<TEntityData*> columns;
    const auto add = [&columns](auto& quantities) {
        for (TEntityData& quantity : quantities)
            columns.push_back(&quantity);
    };
    add(tables.FWBHydrometeorological);
    add(tables.FWBWaterStorage);
    add(tables.FWBReturned);
    columns.push_back(&tables.FWBLossesBetwnUseAndReuse);
    add(tables.FWBReusedWater);
    add(tables.FWBDesalinatedWater);
    add(tables.FWBAdditional);
    return columns;
}

// A value of its own for every cell, negative in the water storage; the
// annual value is the sum of the months. The data file keeps values above
// -9998 only.
double CellValue(std::size_t grid, int col, int row)
{
    if (row == AnnualIndex + 1) {
        double sum = 0;
        for (int month = 1; month <= 12; ++month)
            sum += CellValue(grid, col, month);
        return sum;
    }
    const double value = static_cast<double>(grid) * 300 + col * 20 + row + 0.25;
    return grid == 1 ? -value : value;
}

}  // namespace

class WaterBalanceFormTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        session_ = std::make_unique<TSession>();
        Session = session_.get();
        region_ = new TRegion(nullptr, rtCountry, "GR");
        session_->SetCountry(region_);
        form_ = std::make_unique<TFormWaterBalance>();
        diagram_ = std::make_unique<TFormReturnFlowDiagram>();
        FormReturnFlowDiagram = diagram_.get();
        modal_ = std::make_unique<TScriptedModal>();
    }

    void cleanup()
    {
        modal_.reset();
        FormReturnFlowDiagram = nullptr;
        diagram_.reset();
        form_.reset();
        session_.reset();
        Session = nullptr;
    }

    void storageTakesAnyRealAndTheOtherTablesRefuseNegativesCellByCell()
    {
        modal_->Then([](QDialog& form) {
            Type(form, "gridData2", 1, 1, QStringLiteral("-12.5"));
            Type(form, "gridData2", 2, 1, QStringLiteral("-9999"));
            for (const auto& [grid, columns] : kGrids)
                if (grid != std::string("gridData2"))
                    Type(form, grid, columns, 16, QStringLiteral("-12.5"));
            Type(form, "gridData4", 1, 2, QStringLiteral("-12.5"));
            Click(form, "btnInput");
            QCOMPARE(form.result(), 0);
            for (const auto& [grid, columns] : kGrids)
                if (grid != std::string("gridData2"))
                    Type(form, grid, columns, 16, QString());
            Type(form, "gridData4", 1, 2, QString());
            Click(form, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        const QStringList lines = modal_->TakeMessageLines();
        const QString prefix =
            QStringLiteral("A positive real number or zero is expected in all fields of: ");
        QCOMPARE(lines.size(), 6);
        const QStringList names = {QStringLiteral("Hydrometeorological Parameters"),
                                   QStringLiteral("Returned Water"),
                                   QStringLiteral("Reused Water"),
                                   QStringLiteral("Desalinated Water"),
                                   QStringLiteral("Additional Storage Resources"),
                                   QStringLiteral("Additional Storage Resources")};
        for (int i = 0; i < names.size(); ++i)
            QVERIFY2(lines[i].endsWith(prefix + names[i]), qPrintable(lines[i]));
        QCOMPARE(region_->Tables().FWBWaterStorage[0][0], -12.5);
        QCOMPARE(region_->Tables().FWBWaterStorage[1][0], MissingReal);

        modal_->Then([](QDialog& form) {
            QCOMPARE(Cell(form, "gridData2", 1, 1), QStringLiteral("-12.5"));
            QCOMPARE(Cell(form, "gridData2", 2, 1), QString());
            Click(form, "btnCancel");
        });
        QVERIFY(!form_->Edit(region_));
    }

    void theRechargeOriginIsOneRadioButtonOrUnknown()
    {
        region_->EditTables().FWBImportsOrigin = "north";
        region_->EditTables().FWBReusedUnit = "east";
        modal_->Then([](QDialog& form) {
            QVERIFY(NoOriginChecked(form));
            Click(form, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        QCOMPARE(region_->Tables().FWBArtifGWOrigin, agoUnknown);

        modal_->Then([](QDialog& form) {
            Click(form, "rbWaterImports");
            Click(form, "rbDesalinatedWater");
            Click(form, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        QCOMPARE(region_->Tables().FWBArtifGWOrigin, agoDesalinatedWater);

        region_->EditTables().FWBHydrometeorological[0][0] = 3;
        modal_->Then([](QDialog& form) {
            QVERIFY(Find<QRadioButton>(form, "rbDesalinatedWater").isChecked());
            QCOMPARE(Find<QLineEdit>(form, "edtImportsOrigin").text(), QStringLiteral("north"));
            Click(form, "BitBtnClear");
            QVERIFY(NoOriginChecked(form));
            for (const char* name :
                 {"edtImportsOrigin", "edtExportsDestination", "edtReturnedUnit", "edtReused"})
                QVERIFY(Find<QLineEdit>(form, name).text().isEmpty());
            Click(form, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        const TRegionTables& tables = region_->Tables();
        QCOMPARE(tables.FWBArtifGWOrigin, agoUnknown);
        QVERIFY(!region_->HasWaterBalanceData());
        QVERIFY(tables.FWBImportsOrigin.empty() && tables.FWBReusedUnit.empty());
        QCOMPARE(tables.FWBYear, 2008);
    }

    void monthlySumsAllowOnlyRounding()
    {
        const auto typeMonths = [](QDialog& form, const QString& first) {
            Type(form, "gridData3", 3, 1, first);
            for (int month = 2; month <= 12; ++month)
                Type(form, "gridData3", 3, month, QStringLiteral("9"));
            Type(form, "gridData3", 3, 13, QStringLiteral("100"));
        };
        modal_->Then([&](QDialog& form) {
            typeMonths(form, QStringLiteral("1.0000005"));
            Click(form, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        QVERIFY(modal_->TakeMessageLines().isEmpty());

        modal_->Then([&](QDialog& form) {
            typeMonths(form, QStringLiteral("1.01"));
            Click(form, "btnInput");
            Click(form, "btnCancel");
        });
        QVERIFY(!form_->Edit(region_));
        const QStringList lines = modal_->TakeMessageLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].endsWith(
            QStringLiteral("The monthly values in table: 'Returned water' and column: 'Returned "
                           "after use' do not sum up to the annual value")));
        QCOMPARE(region_->Tables().FWBReturned[2][0], 1.0000005);
    }

    void aYearThatIsNotAWholeNumberIsRefusedAndNothingStored()
    {
        region_->EditTables().FWBYear = 2003;
        modal_->Then([](QDialog& form) {
            Find<QComboBox>(form, "cmboxYear").setEditText(QStringLiteral("20x8"));
            Type(form, "gridData1", 1, 1, QStringLiteral("5"));
            Click(form, "btnInput");
            Click(form, "btnCancel");
        });
        QVERIFY(!form_->Edit(region_));
        const QStringList lines = modal_->TakeMessageLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].endsWith(QStringLiteral("An integer number is expected for the Year")));
        QCOMPARE(region_->Tables().FWBYear, 2003);
        QCOMPARE(region_->Tables().FWBHydrometeorological[0][0], MissingReal);
    }

    void showDiagramAndHelpLeaveTheDataAsTheyAre()
    {
        TRecordedHelp help;
        modal_->Then([this](QDialog& form) {
            Type(form, "gridData3", 1, 1, QStringLiteral("4"));
            modal_->Then([](QDialog& diagram) { diagram.reject(); });
            QCOMPARE(Find<QAbstractButton>(form, "Help").text(), QStringLiteral("  Show diagram"));
            Click(form, "Help");
            Click(form, "BitBtn6");
            QCOMPARE(Cell(form, "gridData3", 1, 1), QStringLiteral("4"));
            Click(form, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        QCOMPARE(modal_->Shown(), (QStringList{QStringLiteral("FormWaterBalance"),
                                               QStringLiteral("FormReturnFlowDiagram")}));
        QCOMPARE(help.Contexts(), std::vector<int>{3100});
        QCOMPARE(region_->Tables().FWBReturned[0][0], 4.0);
    }

    void whatIsTypedComesBackFromADataFile()
    {
        modal_->Then([](QDialog& form) {
            Find<QComboBox>(form, "cmboxYear").setCurrentText(QStringLiteral("2004"));
            for (std::size_t grid = 0; grid < kGrids.size(); ++grid)
                for (int col = 1; col <= kGrids[grid].second; ++col)
                    for (int row = 1; row <= 16; ++row)
                        Type(form, kGrids[grid].first, col, row,
                             QString::number(CellValue(grid, col, row)));
            Find<QLineEdit>(form, "edtFromYear").setText(QStringLiteral("1980"));
            Find<QLineEdit>(form, "edtToYear").setText(QStringLiteral("2003"));
            Find<QPlainTextEdit>(form, "Memo1").setPlainText(QStringLiteral("first\nsecond"));
            Find<QLineEdit>(form, "edtReturnedUnit").setText(QStringLiteral("Sea"));
            Find<QLineEdit>(form, "edtReused").setText(QStringLiteral("Basin A"));
            Find<QLineEdit>(form, "edtImportsOrigin").setText(QStringLiteral("Basin B"));
            Find<QLineEdit>(form, "edtExportsDestination").setText(QStringLiteral("Basin C"));
            Click(form, "rbWaterImports");
            Click(form, "btnInput");
        });
        QVERIFY(form_->Edit(region_));
        QVERIFY(modal_->TakeMessageLines().isEmpty());

        wqtest::TempFolder folder;
        TScriptedDialogs dialogs;
        ScopedDialogs scopedDialogs(dialogs);
        SaveDataFile(folder / "balance.wqd");
        TSession copy;
        Session = &copy;
        new TRegion(nullptr, rtCountry, "GR");
        copy.FDataFile = folder / "balance.wqd";
        LoadDataFile();
        Session = session_.get();

        TRegionTables read = static_cast<TRegion*>(copy.FRegions[0])->Tables();
        const std::vector<TEntityData*> columns = GridColumns(read);
        std::size_t next = 0;
        for (std::size_t grid = 0; grid < kGrids.size(); ++grid)
            for (int col = 1; col <= kGrids[grid].second; ++col, ++next)
                for (int row = 1; row <= 16; ++row)
                    QCOMPARE((*columns[next])[row - 1], CellValue(grid, col, row));
        QCOMPARE(next, columns.size());
        QCOMPARE(read.FWBYear, 2004);
        QVERIFY(read.FWBLTAAFromYear == 1980 && read.FWBLTAAToYear == 2003);
        QVERIFY((std::vector{read.FWBRemarks, read.FWBReturnedUnit, read.FWBReusedUnit,
                             read.FWBImportsOrigin, read.FWBExportsDestination}) ==
                (std::vector<std::string>{"first\r\nsecond\r\n", "Sea", "Basin A", "Basin B",
                                          "Basin C"}));
        QCOMPARE(read.FWBArtifGWOrigin, agoWaterImports);
    }

private:
    std::unique_ptr<TSession> session_;
    TRegion* region_ = nullptr;
    std::unique_ptr<TFormWaterBalance> form_;
    std::unique_ptr<TFormReturnFlowDiagram> diagram_;
    std::unique_ptr<TScriptedModal> modal_;
};

WQ_REGISTER_TEST(WaterBalanceFormTest);
#include "water_balance_form_test.moc"
