#include <QImage>
#include <QtTest>

#include "app/main/ozr_regions.h"
#include "model/ozr_types.h"
#include "tests/qt_support/qt_tests.h"

namespace {

QStringList Row(const TQvStringGrid& grid, int row)
{
    QStringList cells;
    for (int col = 0; col < grid.ColCount(); ++col)
        cells << grid.Cell(col, row);
    return cells;
}

// The colour of a cell away from its text.
QColor Background(TQvStringGrid& grid, const QImage& image, int col, int row)
{
    const QRect cell = grid.visualRect(grid.model()->index(row - 1, col - 1));
    return image.pixelColor(grid.viewport()->mapTo(&grid, cell.bottomRight() - QPoint(3, 3)));
}

}  // namespace

class RegionsOverviewTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        session_ = std::make_unique<TSession>();
        Session = session_.get();
        auto* country = new TRegion(nullptr, rtCountry, "GR", "Greece");
        su_ = new TRegion(new TRegion(country, rtRBD, "GR01"), rtSU, "GR01a", "Alfeios");
    }

    void cleanup() { session_.reset(); }

    void withoutDataShowsTheTitlesAndOneEmptyRow()
    {
        TFormRegions form;
        form.FillRegionsGrid();
        const TQvStringGrid& grid = *form.gridRegions();
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.FixedCols(), 3);
        QCOMPARE(
            Row(grid, 0),
            (QStringList{QStringLiteral("Region code"), QStringLiteral("Region name"),
                         QStringLiteral("Region type"), QStringLiteral("Water balance"),
                         QStringLiteral("Water abstraction"), QStringLiteral("Water use"),
                         QStringLiteral("Wells"), QStringLiteral("Reservoirs"),
                         QStringLiteral("Streamflow st."), QStringLiteral("Precipitation st.")}));
        QCOMPARE(Row(grid, 1), QStringList(10, QString()));
    }

    void oneWellListsItsSubUnitAndARefillDropsOldRows()
    {
        TFormRegions form;
        new TWell(su_, "W1");
        auto* other = new TReservoir(su_->GetParent(), "R1");
        form.FillRegionsGrid();
        QCOMPARE(form.gridRegions()->RowCount(), 3);
        delete other;
        form.FillRegionsGrid();
        const TQvStringGrid& grid = *form.gridRegions();
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(Row(grid, 1), (QStringList{QStringLiteral("GR01a"),
                                            QStringLiteral("Alfeios"),
                                            QStringLiteral("SU"),
                                            {},
                                            {},
                                            {},
                                            QStringLiteral("1"),
                                            {},
                                            {},
                                            {}}));
    }

    void dataCellsAreColouredByGroupAndPressesAreKept()
    {
        TFormRegions form;
        new TWell(su_, "W1");
        form.FillRegionsGrid();
        form.resize(900, 300);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form, kHangGuardMs));
        TQvStringGrid& grid = *form.gridRegions();
        const QImage image = grid.grab().toImage();
        QCOMPARE(Background(grid, image, 3, 1), QColor(0xC0, 0xDC, 0xC0));
        QCOMPARE(Background(grid, image, 6, 1), QColor(0xA6, 0xCA, 0xF0));
        QCOMPARE(Background(grid, image, 1, 1), QColor(0xDD, 0xDD, 0xDD));

        const QRect cell = grid.visualRect(grid.model()->index(0, 7));
        QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(form.LastPressCell(), QPoint(8, 1));
    }

private:
    std::unique_ptr<TSession> session_;
    TRegion* su_ = nullptr;
};

WQ_REGISTER_TEST(RegionsOverviewTest);
#include "regions_overview_test.moc"
