#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "app/ozr_flow.h"
#include "components/StrGrdQv.h"
#include "tests/app/app_tests.h"
#include "tests/app/station_tests.h"
#include "tests/qt_support/qt_tests.h"

namespace {

void FillRequired(QDialog& form, const QString& id)
{
    Type(form, "edtID", id);
    Type(form, "edtLatitude", QStringLiteral("39.1"));
    Type(form, "edtLongitude", QStringLiteral("20.9"));
    Check(form, "chbWFD");
    SetCell(form, "gridMonthlyData", 1, 1, QStringLiteral("2"));
}

// What the daily grid shows: the rows with a label and the texts of some rows.
struct TDailyView {
    int Labelled = 0;
    bool Day366Hidden = false;
    QString Label1;
    QString Last;
    QString Value1;
};

TDailyView DailyView(const QDialog& form)
{
    const auto& grid = Find<TQvStringGrid>(form, "gridDailyData");
    TDailyView view;
    for (int row = 1; row < grid.RowCount(); ++row)
        if (!grid.Cell(0, row).isEmpty()) {
            ++view.Labelled;
            view.Last = grid.Cell(0, row);
        }
    view.Day366Hidden = grid.isRowHidden(365);
    view.Label1 = grid.Cell(0, 1);
    view.Value1 = grid.Cell(1, 1);
    return view;
}

}  // namespace

class FlowFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFormBed<TFormFlow>> bed_;

    TStreamFlow* Station(const std::string& id, int year)
    {
        auto* station = new TStreamFlow(bed_->Country, id);
        station->FYear = year;
        station->FLatitude = 39;
        station->FLongitude = 21;
        station->FDunmar = true;
        for (std::size_t day = 0; day < station->FDailyData.size(); ++day)
            station->FDailyData[day] = static_cast<double>(day) + 1;
        return station;
    }

    QStringList FindingsOf(const std::function<void(QDialog&)>& fill)
    {
        QStringList findings;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("F1"));
            fill(window);
            QVERIFY(!ClickOK(window));
            findings = bed_->TakeFindings();
            ClickCancel(window);
        });
        TStreamFlow* created = nullptr;
        FormFlow->New(bed_->Country, "", created);
        return findings;
    }

private slots:
    void init() { bed_ = std::make_unique<TFormBed<TFormFlow>>(FormFlow); }
    void cleanup() { bed_.reset(); }

    void showsItsDesign()
    {
        auto& form = bed_->Form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Streamflow"));
        QCOMPARE(Find<QTabWidget>(form, "PageControl1").count(), 3);
        QCOMPARE(Find<QAbstractButton>(form, "chbDUNMAR").text(),
                 QStringLiteral("old DUNMAR\nstation"));
        QCOMPARE(Find<QLabel>(form, "lblAgencyRequest").text(),
                 QStringLiteral("If yes please specify name and/or URL of the provider "));
        QCOMPARE(Find<QLineEdit>(form, "edtSubcatchment").maxLength(), 255);
        QCOMPARE(Find<TQvStringGrid>(form, "gridDailyData").RowCount(), 367);
        QCOMPARE(Find<TQvStringGrid>(form, "gridMonthlyData").RowCount(), 13);
    }

    // The daily grid follows the year box; the station changes only on OK.
    void dailyGridFollowsTheYear()
    {
        auto* station = Station("F1", 2007);
        TDailyView of2007;
        TDailyView of2008;
        TDailyView whileTyping;
        bed_->Modal.Then([&](QDialog& window) {
            of2007 = DailyView(window);
            SetYear(window, QStringLiteral("2008"));
            of2008 = DailyView(window);
            SetCell(window, "gridDailyData", 1, 1, QStringLiteral("5"));
            SetYear(window, QStringLiteral("19"));
            SetYear(window, QStringLiteral("19x"));
            whileTyping = DailyView(window);
            ClickCancel(window);
        });
        QVERIFY(!EditStreamFlow(station));
        QCOMPARE(of2007.Labelled, 365);
        QCOMPARE(of2007.Last, QStringLiteral("365)  31/12/2007"));
        QCOMPARE(of2007.Label1, QStringLiteral("1)  1/1/2007"));
        QVERIFY(of2007.Day366Hidden);
        QCOMPARE(of2007.Value1, QStringLiteral("1"));
        QCOMPARE(of2008.Labelled, 366);
        QCOMPARE(of2008.Last, QStringLiteral("366)  31/12/2008"));
        QVERIFY(!of2008.Day366Hidden);
        QCOMPARE(of2008.Value1, QString());
        QCOMPARE(whileTyping.Labelled, 365);
        QCOMPARE(whileTyping.Last, QStringLiteral("365)  31/12/19"));
        QCOMPARE(station->FYear, 2007);
        QCOMPARE(station->FDailyData[0], 1.0);

        auto* leap = Station("F2", 2008);
        TDailyView ofLeap;
        bed_->Modal.Then([&](QDialog& window) {
            ofLeap = DailyView(window);
            ClickCancel(window);
        });
        QVERIFY(!EditStreamFlow(leap));
        QCOMPARE(ofLeap.Labelled, 366);
        QCOMPARE(ofLeap.Value1, QStringLiteral("1"));
    }

    // A year of 365 days neither shows nor stores day 366.
    void day366KeepsItsValueInAShortYear()
    {
        auto* station = Station("F1", 2007);
        bed_->Modal.Then([&](QDialog& window) {
            SetCell(window, "gridDailyData", 1, 365, QString());
            SetCell(window, "gridDailyData", 1, 2, QStringLiteral("0.25"));
            QVERIFY(ClickOK(window));
        });
        QVERIFY(EditStreamFlow(station));
        QCOMPARE(station->FDailyData[364], MissingReal);
        QCOMPARE(station->FDailyData[365], 366.0);
        QCOMPARE(station->FDailyData[1], 0.25);

        bed_->Modal.Then([&](QDialog& window) {
            SetYear(window, QStringLiteral("2004"));
            SetCell(window, "gridDailyData", 1, 366, QStringLiteral("9"));
            QVERIFY(ClickOK(window));
        });
        QVERIFY(EditStreamFlow(station));
        QCOMPARE(station->FYear, 2004);
        QCOMPARE(station->FDailyData[365], 9.0);
        QCOMPARE(station->FDailyData[1], MissingReal);
    }

    void checksRunInOrder()
    {
        const QStringList findings = FindingsOf([](QDialog& window) {
            Check(window, "chbWFD", false);
            Type(window, "edtMinDischarge", QStringLiteral("5"));
            Type(window, "edtMaxDischarge", QStringLiteral("3"));
            Type(window, "edtDataFromYear", QStringLiteral("-1"));
            Type(window, "edtDataToYear", QStringLiteral("1990"));
            Type(window, "edtannual_data", QStringLiteral("-2"));
            Type(window, "edtFromYear", QStringLiteral("1899"));
            SetCell(window, "gridMonthlyData", 2, 3, QStringLiteral("x"));
            SetCell(window, "gridDailyData", 1, 366, QStringLiteral("-0.5"));
        });
        QCOMPARE(
            findings,
            QStringList({
                QStringLiteral("W:This station is neither a DUNMAR nor a WFD station"),
                QStringLiteral(
                    "E:Min. streamflow value should be lower or equal than Max. streamflow value"),
                QStringLiteral("E:A positive integer number is expected for the field: Period of "
                               "available data (From)"),
                QStringLiteral(
                    "E:A positive real number is expected for the field: Annual streamflow"),
                QStringLiteral("E:An integer number between 1900 and 2008 is expected for the "
                               "LTAA starting year"),
                QStringLiteral(
                    "E:A positive real number is expected for the field: Mean LTAA streamflow"),
                QStringLiteral(
                    "E:A positive real number is expected for the field: Mean daily streamflow"),
            }));
        QCOMPARE(
            FindingsOf([](QDialog& window) {
                SetCell(window, "gridMonthlyData", 1, 1, QString());
                Type(window, "edtID", QString());
                Type(window, "edtAltitude", QStringLiteral("-101"));
            }),
            QStringList({
                QStringLiteral("E:A unique identifier for the streamflow station is needed"),
                QStringLiteral("E:A real number between -100 and 5000 is expected for Altitude"),
                QStringLiteral("W:No data have been entered. You may want to check the data "
                               "tab"),
            }));
    }

    // Only warnings: the form closes and stores.
    void acceptedWithWarningsOrNone()
    {
        TRecordedHelp help;
        TStreamFlow* created = nullptr;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("F9"));
            Check(window, "chbWFD", false);
            Type(window, "edtMinDischarge", QStringLiteral("3"));
            Type(window, "edtDataFromYear", QStringLiteral("2010"));
            Type(window, "edtDataToYear", QStringLiteral("1990"));
            Find<QPushButton>(window, "BitBtn1").click();
            Find<QPushButton>(window, "BitBtn8").click();
            QVERIFY(ClickOK(window));
        });
        QVERIFY(FormFlow->New(bed_->Country, "", created));
        QCOMPARE(
            bed_->TakeFindings(),
            QStringList({QStringLiteral("W:This station is neither a DUNMAR nor a WFD station"),
                         QStringLiteral("W:No data have been entered. You may want to check "
                                        "the data tab")}));
        QCOMPARE(help.Contexts(), std::vector<int>{3230});
        QVERIFY(!created->FDunmar && !created->FWFD);
        QCOMPARE(created->FMinDischarge, 3.0);
        QCOMPARE(created->FMaxDischarge, MissingReal);
        QCOMPARE(created->FDataFromYear, 2010);
        QCOMPARE(created->FDataToYear, 1990);
        QCOMPARE(created->FMonthlyData[0], MissingReal);
    }

    // Column 1 of the monthly grid is drawn grey, column 2 light yellow.
    void monthlyColumnsHaveTheirColours()
    {
        bed_->Form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bed_->Form));
        auto& grid = Find<TQvStringGrid>(bed_->Form, "gridMonthlyData");
        Find<QTabWidget>(bed_->Form, "PageControl1").setCurrentIndex(1);
        grid.clearSelection();
        grid.setCurrentCell(-1, -1);
        const QImage image = grid.viewport()->grab().toImage();
        // Row 3 of the grid is the table's row 2, below the title row.
        const QRect first = grid.visualRect(grid.model()->index(2, 0));
        const QRect second = grid.visualRect(grid.model()->index(2, 1));
        QCOMPARE(QColor(image.pixel(first.right() - 3, first.bottom() - 3)),
                 QColor(0xEE, 0xEE, 0xEE));
        QCOMPARE(QColor(image.pixel(second.right() - 3, second.bottom() - 3)),
                 QColor(0xFF, 0xFF, 0xB9));
        bed_->Form.hide();
    }
};

WQ_REGISTER_TEST(FlowFormTest);
#include "flow_form_test.moc"
