#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "app/ozr_rain_gauge.h"
#include "tests/app/app_tests.h"
#include "tests/app/station_tests.h"
#include "tests/qt_support/qt_tests.h"

namespace {

void FillRequired(QDialog& form, const QString& id)
{
    Type(form, "edtID", id);
    Type(form, "edtLatitude", QStringLiteral("38"));
    Type(form, "edtLongitude", QStringLiteral("23.7"));
    Check(form, "chbDUNMAR");
}

}  // namespace

class RainGaugeFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TFormBed<TFormRainGauge>> bed_;

private slots:
    void init() { bed_ = std::make_unique<TFormBed<TFormRainGauge>>(FormRainGauge); }
    void cleanup() { bed_.reset(); }

    void showsItsDesign()
    {
        auto& form = bed_->Form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Rain gauge station"));
        QCOMPARE(Find<QGroupBox>(form, "GroupBox1").title(),
                 QStringLiteral("Is this station an old DUNMAR station and/or a WFD station?"));
        QCOMPARE(Find<QLabel>(form, "lblRemarks").text(), QStringLiteral("Remarks"));
        QCOMPARE(Find<QLineEdit>(form, "edtURL").maxLength(), 255);
        QCOMPARE(Find<QLineEdit>(form, "edtID").maxLength(), 32);
    }

    // Without a choice the time scale stays unknown; a choice comes back.
    void timeScaleIsOptional()
    {
        TRainGauge* created = nullptr;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("P1"));
            QVERIFY(ClickOK(window));
        });
        QVERIFY(FormRainGauge->New(bed_->Nuts1, "", created));
        QVERIFY(bed_->TakeFindings().isEmpty());
        QCOMPARE(created->FTimeScale, tsUnknown);

        bed_->Modal.Then([&](QDialog& window) {
            Check(window, "rbMonthly");
            QVERIFY(ClickOK(window));
        });
        QVERIFY(EditRainGauge(created));
        QCOMPARE(created->FTimeScale, tsMonthly);

        created->FTimeScale = tsAnnual;
        bool annualShown = false;
        bool othersShown = true;
        bed_->Modal.Then([&](QDialog& window) {
            annualShown = Find<QRadioButton>(window, "rbAnnual").isChecked();
            othersShown = Find<QRadioButton>(window, "rbDaily").isChecked() ||
                          Find<QRadioButton>(window, "rbMonthly").isChecked();
            ClickCancel(window);
        });
        QVERIFY(!EditRainGauge(created));
        QVERIFY(annualShown);
        QVERIFY(!othersShown);
    }

    void checksRunInOrder()
    {
        new TRainGauge(bed_->Country, "Twin");
        QStringList findings;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("twin"));
            Check(window, "chbDUNMAR", false);
            Type(window, "edtLatitude", QString());
            Type(window, "edtAltitude", QStringLiteral("-100.5"));
            Type(window, "edtRiver_basin_area", QStringLiteral("-0.001"));
            Type(window, "edtSubcatchment_area", QStringLiteral("0"));
            Type(window, "edtDataFromYear", QStringLiteral("-5"));
            Type(window, "edtDataToYear", QStringLiteral("0"));
            QVERIFY(!ClickOK(window));
            findings = bed_->TakeFindings();
            ClickCancel(window);
        });
        TRainGauge* created = nullptr;
        QVERIFY(!FormRainGauge->New(bed_->Country, "", created));
        QCOMPARE(
            findings,
            QStringList({
                QStringLiteral("E:A station with ID 'twin' already exists"),
                QStringLiteral("E:A real number is expected for the field: Latitude"),
                QStringLiteral("E:A real number between -100 and 5000 is expected for Altitude"),
                QStringLiteral("W:This station is neither a DUNMAR nor a WFD station"),
                QStringLiteral(
                    "E:A positive real number is expected for the field: River basin area"),
                QStringLiteral("E:A positive integer number is expected for the field: From year"),
            }));
    }

    // A rain gauge may share its identifier with a stream-flow station.
    void identifierOfAnotherKindAndHelp()
    {
        TRecordedHelp help;
        new TStreamFlow(bed_->Country, "Shared");
        TRainGauge* created = nullptr;
        bed_->Modal.Then([&](QDialog& window) {
            FillRequired(window, QStringLiteral("Shared"));
            Type(window, "edtRiver_basin_area", QStringLiteral("0"));
            Type(window, "edtDataFromYear", QStringLiteral("0"));
            Find<QAbstractButton>(window, "BitBtn1").click();
            QVERIFY(ClickOK(window));
        });
        QVERIFY(FormRainGauge->New(bed_->Country, "", created));
        QCOMPARE(created->FRiverBasinArea, 0.0);
        QCOMPARE(created->FDataPeriodFrom, 0);
        QCOMPARE(help.Contexts(), std::vector<int>{3240});
        QVERIFY(!EditRainGauge(new TReservoir(bed_->Country, "R1")));
    }
};

WQ_REGISTER_TEST(RainGaugeFormTest);
#include "rain_gauge_form_test.moc"
