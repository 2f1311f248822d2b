#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "app/ozr_reservoirs.h"
#include "components/StrGrdQv.h"
#include "tests/app/app_tests.h"
#include "tests/app/station_tests.h"
#include "tests/qt_support/qt_tests.h"

namespace {

// The least a reservoir needs to be stored.
void FillRequired(QDialog& form, const QString& id, bool withType = true)
{
    Type(form, "edtID", id);
    Type(form, "edtLatitude", QStringLiteral("37.5"));
    Type(form, "edtLongitude", QStringLiteral("21.75"));
    Check(form, "rbManMade", withType);
    SetCell(form, "gridData", 1, 1, QStringLiteral("4"));
}

}  // namespace

class ReservoirsFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFormBed<TFormReservoirs>> bed_;

private slots:
    void init() { bed_ = std::make_unique<TFormBed<TFormReservoirs>>(FormReservoirs); }
    void cleanup() { bed_.reset(); }

    void showsItsDesign()
    {
        auto& form = bed_->Form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Reservoir"));
        QCOMPARE(Find<QLabel>(form, "lblStorage").text(), QStringLiteral("Storage Capacity "));
        QCOMPARE(Find<QPushButton>(form, "BitBtn1").text(), QStringLiteral(" Help"));
        QCOMPARE(Find<QLineEdit>(form, "edtID").maxLength(), 32);
        QCOMPARE(Find<QLineEdit>(form, "edtName").maxLength(), 255);
        QCOMPARE(Find<QPushButton>(form, "BitBtn8").toolTip(), QStringLiteral("Clear all data"));
        auto& grid = Find<TQvStringGrid>(form, "gridData");
        QCOMPARE(grid.ColCount(), 3);
        QCOMPARE(grid.RowCount(), 17);

        auto* reservoir = new TReservoir(bed_->Country, "R1");
        int pageOnOpen = -1;
        QString lastTitle;
        auto& pages = Find<QTabWidget>(form, "PageControl1");
        pages.setCurrentIndex(1);
        bed_->Modal.Then([&](QDialog& window) {
            pageOnOpen = pages.currentIndex();
            lastTitle = Cell(window, "gridData", 0, 16);
            ClickCancel(window);
        });
        QVERIFY(!EditReservoir(reservoir));
        QCOMPARE(pageOnOpen, 0);
        QCOMPARE(lastTitle, QStringLiteral("LTAA (hm3/year)"));
        QCOMPARE(Cell(form, "gridData", 2, 0), QStringLiteral("Outflow"));
        QVERIFY(!EditReservoir(new TWell(bed_->Country, "W1")));
    }

    // The findings come in the form's order, every check adding its own.
    void checksRunInOrder()
    {
        new TReservoir(bed_->Country, "Twin");
        TReservoir* created = nullptr;
        QStringList findings;
        bed_->Modal.Then([&](QDialog& window) {
            Type(window, "edtID", QStringLiteral("TWIN"));
            Type(window, "edtLongitude", QStringLiteral("east"));
            Type(window, "edtStorage", QStringLiteral("0"));
            Type(window, "edtAltitude", QStringLiteral("5000.01"));
            SetCell(window, "gridData", 2, 1, QStringLiteral("-1"));
            SetCell(window, "gridData", 1, 14, QStringLiteral("x"));
            Type(window, "edtFromYear", QStringLiteral("2000"));
            Type(window, "edtToYear", QStringLiteral("2008"));
            for (int row = 1; row <= 12; ++row)
                SetCell(window, "gridData", 1, row, QStringLiteral("1.1"));
            SetCell(window, "gridData", 1, 13, QStringLiteral("13.3"));
            QVERIFY(!ClickOK(window));
            findings = bed_->TakeFindings();
            ClickCancel(window);
        });
        QVERIFY(!FormReservoirs->New(bed_->Country, "", created));
        QCOMPARE(findings,
                 QStringList({
                     QStringLiteral("E:A reservoir with ID 'TWIN' already exists"),
                     QStringLiteral("E:A real number is expected for the field: Latitude"),
                     QStringLiteral("E:A real number is expected for the field: Longitude"),
                     QStringLiteral("E:A positive real number is expected for the field: "
                                    "Storage capacity"),
                     QStringLiteral("E:A real number between -100 and 5000 is expected for "
                                    "Altitude"),
                     QStringLiteral("E:The type of the reservoir should be selected"),
                     QStringLiteral("E:A positive real number is expected for the field: "
                                    "Outflow volume value"),
                     QStringLiteral("E:A positive real number is expected for the field: "
                                    "Inflow volume value"),
                     QStringLiteral("E:The reported length period is too small to be "
                                    "representative for LTAA values. The LTAA reference period "
                                    "must be at least 10 years, preferably more than 20 years "
                                    "long"),
                     QStringLiteral("E:The monthly values in table: 'Data' and column: 'Inflow' "
                                    "do not sum up to the annual value"),
                 }));
    }

    void newReservoirNeedsAType()
    {
        bed_->Session_.SetModified(false);
        TReservoir* created = nullptr;
        bool closedWithoutType = true;
        QStringList findings;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("R7"), false);
            closedWithoutType = ClickOK(window);
            findings = bed_->TakeFindings();
            Check(window, "rbNatural");
            Type(window, "edtStorage", QStringLiteral("12.5"));
            SetCell(window, "gridData", 1, 1, QStringLiteral("0"));
            SetCell(window, "gridData", 2, 16, QStringLiteral("0"));
            QVERIFY(ClickOK(window));
        });
        QVERIFY(FormReservoirs->New(bed_->Country, "", created));
        QVERIFY(!closedWithoutType);
        QCOMPARE(findings,
                 QStringList(QStringLiteral("E:The type of the reservoir should be selected")));
        QVERIFY(bed_->TakeFindings().isEmpty());
        QVERIFY(created != nullptr);
        QCOMPARE(created->GetID(), std::string("R7"));
        QCOMPARE(created->FReservoirType, rsNatural);
        QCOMPARE(created->FStorageCapacity, 12.5);
        QCOMPARE(created->FInflow[0], 0.0);
        QCOMPARE(created->FOutflow[15], 0.0);
        QCOMPARE(created->FInflow[1], MissingReal);
        QVERIFY(bed_->Session_.GetModified());
    }

    void cancelledNewLeavesNoReservoir()
    {
        bed_->Session_.SetModified(false);
        TReservoir* created = reinterpret_cast<TReservoir*>(1);
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("R8"));
            ClickCancel(window);
        });
        QVERIFY(!FormReservoirs->New(bed_->Country, "R8", created));
        QVERIFY(created == nullptr);
        QCOMPARE(bed_->Session_.FReservoirs.Count(), 0);
        QCOMPARE(bed_->Session_.FEntities.Count(), 0);
        QVERIFY(bed_->Session_.GetModified());
    }

    // A negative stored quantity is not shown, and so comes back missing.
    void negativeStoredInflowIsDropped()
    {
        auto* reservoir = new TReservoir(bed_->Country, "R1");
        reservoir->FReservoirType = rsManMade;
        reservoir->FLatitude = 1;
        reservoir->FLongitude = 2;
        reservoir->FInflow[0] = -5;
        reservoir->FInflow[1] = 3.5;
        reservoir->FOutflow[12] = 7;
        QString shown[3];
        bed_->Modal.Then([&](QDialog& window) {
            shown[0] = Cell(window, "gridData", 1, 1);
            shown[1] = Cell(window, "gridData", 1, 2);
            shown[2] = Cell(window, "gridData", 2, 13);
            QVERIFY(ClickOK(window));
        });
        QVERIFY(EditReservoir(reservoir));
        QCOMPARE(shown[0], QString());
        QCOMPARE(shown[1], QStringLiteral("3.5"));
        QCOMPARE(shown[2], QStringLiteral("7"));
        QCOMPARE(reservoir->FInflow[0], MissingReal);
        QCOMPARE(reservoir->FInflow[1], 3.5);
    }

    // Identifiers are unique within reservoirs, in any letter case; a well
    // may share one.
    void identifiersAreUniquePerKind()
    {
        new TWell(bed_->Country, "Shared");
        auto* own = new TReservoir(bed_->Country, "Own");
        TReservoir* created = nullptr;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("shared"));
            QVERIFY(ClickOK(window));
        });
        QVERIFY(FormReservoirs->New(bed_->Country, "", created));
        QStringList findings;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("OWN"));
            QVERIFY(!ClickOK(window));
            findings = bed_->TakeFindings();
            ClickCancel(window);
        });
        QVERIFY(!FormReservoirs->New(bed_->Country, "", created));
        QCOMPARE(findings,
                 QStringList(QStringLiteral("E:A reservoir with ID 'OWN' already exists")));
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("own"));
            QVERIFY(ClickOK(window));
        });
        QVERIFY(EditReservoir(own));
        QCOMPARE(own->GetID(), std::string("own"));
    }

    // A year that is no whole number keeps the form open and the reservoir as
    // it was; the text typed is gone when the form opens again.
    void yearMustBeAWholeNumber()
    {
        auto* reservoir = new TReservoir(bed_->Country, "R1");
        reservoir->FYear = 2008;
        bed_->Session_.FYear = 2001;
        QStringList findings;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("R1"));
            SetYear(window, QStringLiteral("20o8"));
            QVERIFY(!ClickOK(window));
            findings = bed_->TakeFindings();
            ClickCancel(window);
        });
        QVERIFY(!EditReservoir(reservoir));
        QCOMPARE(findings,
                 QStringList(QStringLiteral("E:An integer number is expected for the Year")));
        QCOMPARE(reservoir->FYear, 2008);
        QCOMPARE(bed_->Session_.FYear, 2001);
        QCOMPARE(reservoir->FReservoirType, rsUnknown);
        QString yearOnReopening;
        bed_->Modal.Then([&](QDialog& window) {
            yearOnReopening = Text(window, "cmboxYear");
            ClickCancel(window);
        });
        QVERIFY(!EditReservoir(reservoir));
        QCOMPARE(yearOnReopening, QStringLiteral("2008"));
    }

    void warningsAloneStoreAndHelpAndClearWork()
    {
        TRecordedHelp help;
        auto* reservoir = new TReservoir(bed_->Country, "R1");
        bed_->Session_.FYear = 2008;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("R1"));
            Find<QPushButton>(window, "BitBtn1").click();
            Find<QPushButton>(window, "BitBtn8").click();
            QCOMPARE(Cell(window, "gridData", 1, 1), QString());
            QCOMPARE(Cell(window, "gridData", 0, 1), QStringLiteral("Month 1 (Jan)"));
            SetYear(window, QStringLiteral("2003"));
            Type(window, "edtFromYear", QStringLiteral("1990"));
            Type(window, "edtToYear", QStringLiteral("2003"));
            QVERIFY(ClickOK(window));
        });
        QVERIFY(EditReservoir(reservoir));
        QCOMPARE(help.Contexts(), std::vector<int>{3220});
        QCOMPARE(bed_->TakeFindings(),
                 QStringList({QStringLiteral("W:The reported LTAA reference period should be at "
                                             "least 20 consecutive years long"),
                              QStringLiteral("W:No data have been entered. You may want to check "
                                             "the data tab")}));
        QCOMPARE(reservoir->FLTAAFromYear, 1990);
        QCOMPARE(reservoir->FYear, 2003);
        QCOMPARE(bed_->Session_.FYear, 2003);
    }
};

WQ_REGISTER_TEST(ReservoirsFormTest);
#include "reservoirs_form_test.moc"
