#include <QComboBox>
#include <QtTest>

#include "components/StrGrdQv.h"
#include "components/ozr_grid_utils.h"
#include "platform/regional_settings.h"
#include "tests/qt_support/qt_tests.h"

namespace {

void FillAll(TQvStringGrid& grid, const QString& text)
{
    for (int row = 0; row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            grid.SetCell(col, row, text);
}

// Column 1 of a period grid: twelve months, then the annual value in row 13.
void FillPeriods(TQvStringGrid& grid, const QString& month, const QString& annual)
{
    grid.SetColCount(2);
    grid.SetRowCount(17);
    for (int row = 1; row <= 12; ++row)
        grid.SetCell(1, row, month);
    grid.SetCell(1, 13, annual);
}

}  // namespace

class GridUtilsTest : public QObject {
    Q_OBJECT
private slots:
    void clearingReachesFixedCellsOrStartsWhereAsked()
    {
        TQvStringGrid grid;
        FillAll(grid, QStringLiteral("x"));
        ClearGrid(grid);
        QVERIFY(IsGridEmpty(grid, 0, 0));

        FillAll(grid, QStringLiteral("x"));
        ClearGridCells(grid, 2, 3, 1);
        QCOMPARE(grid.Cell(1, 4), QStringLiteral("x"));
        QCOMPARE(grid.Cell(4, 2), QStringLiteral("x"));
        QCOMPARE(grid.Cell(2, 3), QString());
        QVERIFY(IsGridEmpty(grid, 2, 3));
        QVERIFY(!IsGridEmpty(grid, 1, 3));
    }

    void clearingScrollsBackToTheGivenColumn()
    {
        TQvStringGrid grid;
        grid.SetColCount(12);
        grid.resize(250, 150);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid, kHangGuardMs));
        grid.SetLeftCol(4);
        QCOMPARE(grid.LeftCol(), 4);
        ClearGridAndScroll(grid, 1);
        QCOMPARE(grid.LeftCol(), 1);
        ClearGridCells(grid, 1, 1, 3);
        QCOMPARE(grid.LeftCol(), 3);
    }

    void blanksAndControlCharactersCountAsEmpty()
    {
        TQvStringGrid grid;
        grid.SetCell(1, 1, QStringLiteral(" \t\r\n "));
        QVERIFY(IsGridEmpty(grid, 1, 1));
        grid.SetCell(3, 2, QStringLiteral(" 0 "));
        QVERIFY(!IsGridEmpty(grid, 1, 1));
        QVERIFY(IsGridEmpty(grid, 4, 1));
    }

    void comboItemsMatchIgnoringTheCaseOfPlainLetters()
    {
        QComboBox box;
        box.addItems(
            {QStringLiteral("Man-made"), QStringLiteral("Natural"), QStringLiteral("Ärger")});
        box.setCurrentIndex(0);
        QVERIFY(SelectComboItem(box, QStringLiteral("NATURAL")));
        QCOMPARE(box.currentIndex(), 1);
        QVERIFY(!SelectComboItem(box, QStringLiteral("Naturel")));
        QCOMPARE(box.currentIndex(), 1);
        QVERIFY(!SelectComboItem(box, QStringLiteral("ärger")));
        QVERIFY(SelectComboItem(box, QStringLiteral("Ärger")));
        QCOMPARE(box.currentIndex(), 2);
    }

    void monthlySumChecksOnlyWhenEveryValueIsANumber()
    {
        TQvStringGrid grid;
        FillPeriods(grid, QStringLiteral("1"), QStringLiteral("12"));
        QVERIFY(MonthlySumMatchesAnnual(grid, 1));
        FillPeriods(grid, QStringLiteral("1"), QStringLiteral("12.0000005"));
        QVERIFY(MonthlySumMatchesAnnual(grid, 1));
        FillPeriods(grid, QStringLiteral("1"), QStringLiteral("12.01"));
        QVERIFY(!MonthlySumMatchesAnnual(grid, 1));
        FillPeriods(grid, QStringLiteral("1"), QString());
        QVERIFY(MonthlySumMatchesAnnual(grid, 1));
        FillPeriods(grid, QStringLiteral("1"), QStringLiteral("99"));
        grid.SetCell(1, 7, QString());
        QVERIFY(MonthlySumMatchesAnnual(grid, 1));

        ScopedRegionalSettings comma(',');
        FillPeriods(grid, QStringLiteral("0,5"), QStringLiteral("6"));
        QVERIFY(MonthlySumMatchesAnnual(grid, 1));
        FillPeriods(grid, QStringLiteral("0,5"), QStringLiteral("6,5"));
        QVERIFY(!MonthlySumMatchesAnnual(grid, 1));
    }
};

WQ_REGISTER_TEST(GridUtilsTest);

#include "grid_utils_test.moc"
