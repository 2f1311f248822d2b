// Boxes the data forms share: length-limited boxes that the program fills,
// the remarks memo and the reporting-year box.

#include <QComboBox>

#include "app/forms/ozr_flow.h"
#include "app/forms/ozr_groundwater.h"
#include "app/forms/ozr_rain_gauge.h"
#include "app/forms/ozr_reservoirs.h"
#include "app/forms/ozr_water_abstractions.h"
#include "app/forms/ozr_water_balance.h"
#include "app/forms/ozr_water_use.h"
#include "tests/app/forms/station_tests.h"
#include "tests/qt_support/qt_tests.h"

namespace {

using TAct = std::function<void(QDialog&)>;

// Opens the form on a new station of its kind, or on the district for a
// table form, runs `act` and cancels.
template <typename TForm, typename TStation = void>
void Open(TStationBed& bed, const TAct& act)
{
    bed.Modal.Then([act](QDialog& form) {
        act(form);
        ClickCancel(form);
    });
    if constexpr (std::is_void_v<TStation>) {
        TForm().Edit(bed.Rbd);
    } else {
        TStation* created = nullptr;
        TForm().New(bed.Rbd, "", created);
    }
}

// The four station forms, then the three table forms.
using TOpen = void (*)(TStationBed&, const TAct&);
const TOpen kForms[] = {Open<TFormReservoirs, TReservoir>,
                        Open<TFormGroundwater, TWell>,
                        Open<TFormFlow, TStreamFlow>,
                        Open<TFormRainGauge, TRainGauge>,
                        Open<TFormWaterUse>,
                        Open<TFormWaterBalance>,
                        Open<TFormWaterAbs>};

// Opens the station's form and clicks OK at once.
template <typename TForm, typename TStation>
bool Confirm(TStationBed& bed, TStation* station)
{
    bed.Modal.Then([](QDialog& form) { QVERIFY(ClickOK(form)); });
    return TForm().Edit(station);
}

}  // namespace

class FormBoxesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TStationBed> bed_;

private slots:
    void init() { bed_ = std::make_unique<TStationBed>(); }
    void cleanup() { bed_.reset(); }

    // Stations imported or read from a file with a 40-character ID and
    // 300-character texts keep them whole through OK, and their remarks are
    // stored with CR LF between their lines.
    void loadedLongTextsAreStoredWhole()
    {
        const std::string id(40, 'I'), text(300, 't');
        auto* reservoir = new TReservoir(bed_->Rbd, id);
        auto* well = new TWell(bed_->Rbd, id);
        auto* flow = new TStreamFlow(bed_->Rbd, id);
        auto* gauge = new TRainGauge(bed_->Rbd, id);
        reservoir->FReservoirType = rsManMade;
        TEntity* const stations[] = {reservoir, well, flow, gauge};
        std::string* const texts[] = {&well->FGWB,        &flow->FRiver,   &flow->FSubcatchment,
                                      &flow->FDataAgency, &flow->FDataURL, &gauge->FDataAgency,
                                      &gauge->FDataURL};
        for (TEntity* station : stations) {
            station->FName = text;
            station->FLatitude = station->FLongitude = 1;
            station->FRemarks = "first\n\nlast";
        }
        for (std::string* each : texts)
            *each = text;
        QVERIFY(Confirm<TFormReservoirs>(*bed_, reservoir) &&
                Confirm<TFormGroundwater>(*bed_, well) && Confirm<TFormFlow>(*bed_, flow) &&
                Confirm<TFormRainGauge>(*bed_, gauge));
        for (const TEntity* station : stations)
            QVERIFY(station->GetID() == id && station->FName == text &&
                    station->FRemarks == "first\r\n\r\nlast");
        for (const std::string* each : texts)
            QCOMPARE(*each, text);
    }

    // Typing stops at the limit: a longer loaded text shows whole and can be
    // shortened but not grown, not even back to its length, and the next
    // station that the form opens takes no more than the limit again.
    void typingStaysLimited()
    {
        TFormReservoirs form;
        QStringList typed;
        bed_->Modal.Then([&typed](QDialog& window) {
            auto& id = Find<QLineEdit>(window, "edtID");
            typed << id.text();
            id.setCursorPosition(1);
            QTest::keyClick(&id, Qt::Key_Backspace);
            QTest::keyClicks(&id, QStringLiteral("ab"));
            typed << id.text();
            ClickCancel(window);
        });
        form.Edit(new TReservoir(bed_->Rbd, std::string(40, 'I')));
        bed_->Modal.Then([&typed](QDialog& window) {
            Type(window, "edtID", QString(40, u'z'));
            Type(window, "edtName", QString(300, u'n'));
            typed << Text(window, "edtID") << Text(window, "edtName");
            ClickCancel(window);
        });
        form.Edit(new TReservoir(bed_->Rbd, "R2"));
        QCOMPARE(typed, QStringList({QString(40, u'I'), QString(39, u'I'), QString(32, u'z'),
                                     QString(255, u'n')}));
    }

    // In all seven forms no typed text, Enter included, becomes an item of the
    // year box; and a region name longer than the limit of the table forms'
    // region boxes is shown whole.
    void yearListStaysAndRegionNamesShowWhole()
    {
        bed_->Rbd->FName = std::string(40, 'N');
        QStringList years;
        for (int year = 2008; year >= 1998; --year)
            years << QString::number(year);
        for (const TOpen open : kForms) {
            QStringList items;
            open(*bed_, [&items](QDialog& form) {
                auto& box = Find<QComboBox>(form, "cmboxYear");
                for (const char* text : {"abc", "2009"}) {
                    box.lineEdit()->selectAll();
                    QTest::keyClicks(box.lineEdit(), QString::fromLatin1(text));
                    QTest::keyClick(box.lineEdit(), Qt::Key_Return);
                }
                for (int i = 0; i < box.count(); ++i)
                    items << box.itemText(i);
                items << Text(form, "edtRegionDescription");
            });
            QCOMPARE(items, QStringList(years) << QString(40, u'N'));
        }
    }
};

WQ_REGISTER_TEST(FormBoxesTest);
#include "form_boxes_test.moc"
