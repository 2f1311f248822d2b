// The station forms: a station of every kind entered through its form, saved
// to a data file and read back into a new session shows in its form just what
// was typed; and what each form makes of bad or odd input.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "app/forms/ozr_flow.h"
#include "app/forms/ozr_groundwater.h"
#include "app/forms/ozr_rain_gauge.h"
#include "app/forms/ozr_reservoirs.h"
#include "components/StrGrdQv.h"
#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "tests/app/forms/station_tests.h"
#include "tests/qt_support/qt_tests.h"
#include "tests/support/temp_folder.h"

namespace {

// A valid value for every field that all station forms show.
const std::string SCommon =
    "edtName=Agios Nikolaos;edtLatitude=38.25;edtLongitude=-21.5;edtAltitude=120.5;"
    "edtCoordinateSys=WGS84 ;edtProjectionSys=UTM zone 34N;cmboxYear=2005;"
    "Memo1=Measured\nby hand;";

// Fills the form from "name=text" entries split by ';': a box takes the text,
// a list box the item of that text, "grid:col:row" names a cell, and a button
// named without text is checked.
void FillIn(const QWidget& form, const std::string& entries)
{
    const QStringList list = QString::fromStdString(entries).split(u';', Qt::SkipEmptyParts);
    for (const QString& entry : list) {
        const QString name = entry.section(u'=', 0, 0);
        const QString text = entry.section(u'=', 1);
        const QStringList cell = name.split(u':');
        auto* box = form.findChild<QComboBox*>(name);
        auto* memo = form.findChild<QPlainTextEdit*>(name);
        if (cell.size() == 3)
            SetCell(form, qPrintable(cell[0]), cell[1].toInt(), cell[2].toInt(), text);
        else if (box)
            box->setCurrentText(text);
        else if (memo)
            memo->setPlainText(text);
        else if (entry.contains(u'='))
            Type(form, qPrintable(name), text);
        else
            Check(form, qPrintable(name));
    }
}

// What the form shows, control by control.
QStringList Snapshot(const QWidget& form)
{
    QStringList shown;
    for (const QWidget* widget : form.findChildren<QWidget*>()) {
        for (const char* property : {"text", "currentText", "plainText", "checked"})
            if (const QVariant value = widget->property(property); value.isValid())
                shown << widget->objectName() + u'.' + QLatin1String(property) + u'=' +
                             value.toString();
        if (auto* grid = qobject_cast<const TQvStringGrid*>(widget))
            for (int row = 0; row < grid->RowCount(); ++row)
                for (int col = 0; col < grid->ColCount(); ++col)
                    shown << widget->objectName() + u'=' + grid->Cell(col, row);
    }
    return shown;
}

struct TKind {
    bool (*New)(TRegion*);
    bool (*Edit)(TObject*);
    TListOZR TSession::*List;
    // A valid value for every field of the kind's own, for FillIn.
    const char* Entries;
};

template <typename TForm, typename TStation>
TKind KindOf(TListOZR TSession::*list, const char* entries)
{
    return {[](TRegion* in) {
                TStation* made = nullptr;
                return TForm().New(in, "", made);
            },
            [](TObject* it) { return TForm().Edit(static_cast<TStation*>(it)); }, list, entries};
}

// The kinds in the order reservoir, well, stream flow, rain gauge.
const std::vector<TKind>& Kinds()
{
    static const std::vector<TKind> kinds{
        KindOf<TFormReservoirs, TReservoir>(
            &TSession::FReservoirs,
            "edtStorage=350.75;edtFromYear=1980;edtToYear=2004;rbManMade;gridData:1:1=1.5;"
            "gridData:1:3=2.25;gridData:1:16=17.5;gridData:2:1=0;gridData:2:2=2;gridData:2:16=9"),
        KindOf<TFormGroundwater, TWell>(
            &TSession::FWells,
            "edtAquifer=Alluvial aquifer;edtFromYear=1960;edtToYear=2000;rbGWBOutsideRBDYes;"
            "gridData:1:1=-12.5;gridData:1:2=-11;gridData:1:16=-10.5;"
            "cbMonthMinLevel=Month 2 (Feb);cbMonthMaxLevel=Month 12 (Dec)"),
        KindOf<TFormFlow, TStreamFlow>(
            &TSession::FStreamFlows,
            "edtRiver=Alfeios;edtRiver_basin=Alfeios basin;edtRiver_basin_area=3658;"
            "edtSubcatchment=Ladon;edtSubcatchment_area=0;edtAgency=Water Agency;"
            "edtURL=https://example.org/flows;edtDataFromYear=1950;edtDataToYear=2005;"
            "edtMinDischarge=0.5;edtMinDischargeDate=3/8/2005;edtMaxDischarge=120;"
            "edtMaxDischargeDate=01/02/2005;edtannual_data=10.25;edtLTAA=11;edtFromYear=1970;"
            "edtToYear=2000;chbDUNMAR;gridMonthlyData:1:1=20;gridMonthlyData:1:12=19;"
            "gridMonthlyData:2:1=21;gridMonthlyData:2:12=0.125;gridDailyData:1:1=0.5;"
            "gridDailyData:1:2=0;gridDailyData:1:365=182.5"),
        KindOf<TFormRainGauge, TRainGauge>(
            &TSession::FRainGauges,
            "edtRiver_basin=Pineios;edtRiver_basin_area=11000.5;edtSubcatchment=Enipeas;"
            "edtSubcatchment_area=12;edtAgency=Met Office;edtURL=ftp://example.org/rain;"
            "edtDataFromYear=1961;edtDataToYear=2005;chbWFD;rbDaily"),
    };
    return kinds;
}

// The days the daily grid shows, the label of the last and the first value.
QStringList DailyGrid(const QDialog& form)
{
    const auto& grid = Find<TQvStringGrid>(form, "gridDailyData");
    int days = 0;
    for (int row = 1; row < grid.RowCount(); ++row)
        days += grid.isRowHidden(row) ? 0 : 1;
    return {QString::number(days), grid.Cell(0, days), grid.Cell(1, 1)};
}

}  // namespace

class StationFormsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TStationBed> bed_;

    // Opens a form with `open`, runs `look` on it, fills it in with each step
    // and clicks OK until it closes, or else Cancel. Returns the findings of
    // each step as "E:text" or "W:text", "refused" after a refused step, and
    // "stored" or "not stored" as `open` says.
    QStringList Submit(const std::function<bool()>& open, std::initializer_list<std::string> steps,
                       const std::function<void(QDialog&)>& look = {})
    {
        QStringList log;
        bed_->Modal.Then([&](QDialog& form) {
            if (look)
                look(form);
            for (const std::string& step : steps) {
                FillIn(form, step);
                const bool closed = ClickOK(form);
                for (const QString& line : bed_->Modal.TakeMessageLines())
                    log << (line.startsWith(u"[Error]") ? QStringLiteral("E:")
                                                        : QStringLiteral("W:")) +
                               line.mid(line.indexOf(u']') + 1).trimmed();
                if (closed)
                    return;
                log << QStringLiteral("refused");
            }
            ClickCancel(form);
        });
        log << (open() ? QStringLiteral("stored") : QStringLiteral("not stored"));
        return log;
    }

    // A well that the form stores as it stands.
    TWell* NewWell(TRegion* region)
    {
        auto* well = new TWell(region, "W" + region->GetCode());
        well->FLatitude = well->FLongitude = 40;
        well->FMeanLevel[0] = -12.5;
        return well;
    }

private slots:
    void init() { bed_ = std::make_unique<TStationBed>(); }
    void cleanup() { bed_.reset(); }

    // Help is asked for on the way.
    void roundTripThroughADataFile()
    {
        TRecordedHelp help;
        std::vector<QStringList> typed;
        for (const TKind& kind : Kinds())
            QCOMPARE(Submit([&] { return kind.New(bed_->Rbd); }, {""},
                            [&](QDialog& window) {
                                FillIn(window, "edtID=S-1;" + SCommon + kind.Entries);
                                Click(window, "BitBtn1");
                                typed.push_back(Snapshot(window));
                            }),
                     Strings({"stored"}));
        QCOMPARE(help.Contexts(), std::vector<int>({3220, 3210, 3230, 3240}));

        const wqtest::TempFolder folder;
        const std::string path = folder / "stations.wqd";
        SaveDataFile(path);
        TSession copy;
        Session = &copy;
        BuildRegionTree();
        copy.FDataFile = path;
        LoadDataFile();
        for (std::size_t i = 0; i < Kinds().size(); ++i) {
            const TListOZR& read = copy.*Kinds()[i].List;
            QCOMPARE(read.Count(), 1);
            QStringList shown;
            Submit([&] { return Kinds()[i].Edit(read[0]); }, {},
                   [&](QDialog& window) { shown = Snapshot(window); });
            QCOMPARE(shown, typed[i]);
        }
    }

    // In any letter case; other kinds and the station itself do not count.
    void identifiersAreUniquePerKind()
    {
        QStringList log;
        for (const std::string id : {"Twin", "TWIN"})
            for (const TKind& kind : Kinds())
                log << Submit([&] { return kind.New(bed_->Rbd); },
                              {"edtID=" + id + ";" + SCommon + kind.Entries});
        for (const TKind& kind : Kinds())
            log << Submit([&] { return kind.Edit((bed_->Session_.*kind.List)[0]); },
                          {"edtID=tWIN"});
        const QStringList taken =
            Strings({"E:A station with ID 'TWIN' already exists", "refused", "not stored"});
        QCOMPARE(log,
                 Strings({"stored", "stored", "stored", "stored",
                          "E:A reservoir with ID 'TWIN' already exists", "refused", "not stored"}) +
                     taken + taken + taken + Strings({"stored", "stored", "stored", "stored"}));
    }

    // Every check adds its finding, in the form's order.
    void checksRunInTheFormsOrder()
    {
        new TReservoir(bed_->Rbd, "Twin");
        new TRainGauge(bed_->Rbd, "Twin");
        const std::string bad = "edtID=TWIN;edtLatitude=;edtLongitude=east;edtAltitude=5000.01;";
        std::string months;
        for (int row = 1; row <= 12; ++row)
            months += "gridData:1:" + std::to_string(row) + "=1.1;";
        QCOMPARE(
            Submit([&] { return Kinds()[0].New(bed_->Rbd); },
                   {bad + months +
                    "gridData:1:13=13.3;edtStorage=0;gridData:2:1=-1;gridData:1:14=x;"
                    "edtFromYear=2000;edtToYear=2008"}),
            Strings({"E:A reservoir with ID 'TWIN' already exists",
                     "E:A real number is expected for the field: Latitude",
                     "E:A real number is expected for the field: Longitude",
                     "E:A positive real number is expected for the field: Storage capacity",
                     "E:A real number between -100 and 5000 is expected for Altitude",
                     "E:The type of the reservoir should be selected",
                     "E:A positive real number is expected for the field: Outflow volume value",
                     "E:A positive real number is expected for the field: Inflow volume value",
                     "E:The reported length period is too small to be representative for "
                     "LTAA values. The LTAA reference period must be at least 10 years, "
                     "preferably more than 20 years long",
                     "E:The monthly values in table: 'Data' and column: 'Inflow' do not sum "
                     "up to the annual value",
                     "refused", "not stored"}));
        QCOMPARE(Submit([&] { return Kinds()[3].New(bed_->Rbd); },
                        {bad + "edtRiver_basin_area=-0.001;edtSubcatchment_area=0;"
                               "edtDataFromYear=-5;edtDataToYear=0"}),
                 Strings({"E:A station with ID 'TWIN' already exists",
                          "E:A real number is expected for the field: Latitude",
                          "E:A real number is expected for the field: Longitude",
                          "E:A real number between -100 and 5000 is expected for Altitude",
                          "W:This station is neither a DUNMAR nor a WFD station",
                          "E:A positive real number is expected for the field: River basin area",
                          "E:A positive integer number is expected for the field: From year",
                          "refused", "not stored"}));
    }

    // A cancelled New leaves no station but a modified session. The storage
    // must be above 0, while a flow of 0 is a value.
    void newReservoirNeedsATypeAndAStorage()
    {
        bed_->Session_.SetModified(false);
        auto* created = reinterpret_cast<TReservoir*>(1);
        QCOMPARE(Submit([&] { return TFormReservoirs().New(bed_->Rbd, "", created); }, {}),
                 Strings({"not stored"}));
        QVERIFY(created == nullptr);
        QCOMPARE(bed_->Session_.FEntities.Count(), 0);
        QVERIFY(bed_->Session_.GetModified());
        QCOMPARE(Submit([&] { return TFormReservoirs().New(bed_->Rbd, "", created); },
                        {"edtID=R7;edtLatitude=37.5;edtLongitude=21.75;gridData:1:1=4;edtStorage=0",
                         "rbNatural;edtStorage=12.5;gridData:1:1=0;gridData:2:16=0"}),
                 Strings({"E:A positive real number is expected for the field: Storage capacity",
                          "E:The type of the reservoir should be selected", "refused", "stored"}));
        QCOMPARE(created->FReservoirType, rsNatural);
        QCOMPARE(created->FStorageCapacity, 12.5);
        QCOMPARE(created->FInflow[0], 0.0);
        QCOMPARE(created->FOutflow[15], 0.0);
        QCOMPARE(created->FInflow[1], MissingReal);
    }

    // A negative stored quantity is not shown, and so comes back missing. The
    // label keeps its trailing blank.
    void negativeStoredInflowComesBackMissing()
    {
        auto* reservoir = new TReservoir(bed_->Rbd, "R1");
        reservoir->FReservoirType = rsManMade;
        reservoir->FLatitude = reservoir->FLongitude = 1;
        reservoir->FInflow[0] = -5;
        reservoir->FInflow[1] = 3.5;
        QStringList shown;
        Submit([&] { return TFormReservoirs().Edit(reservoir); }, {""},
               [&](QDialog& window) {
                   const auto& grid = Find<TQvStringGrid>(window, "gridData");
                   shown << Find<QLabel>(window, "lblStorage").text() << grid.Cell(1, 1)
                         << grid.Cell(1, 2);
               });
        QCOMPARE(shown, Strings({"Storage Capacity ", "", "3.5"}));
        QCOMPARE(reservoir->FInflow[0], MissingReal);
        QCOMPARE(reservoir->FInflow[1], 3.5);
    }

    // A refused year changes neither the reservoir nor the session.
    void yearMustBeAWholeNumber()
    {
        auto* reservoir = new TReservoir(bed_->Rbd, "R1");
        reservoir->FYear = 2008;
        bed_->Session_.FYear = 2001;
        QCOMPARE(
            Submit([&] { return TFormReservoirs().Edit(reservoir); },
                   {"edtLatitude=1;edtLongitude=2;gridData:1:1=4;rbManMade;cmboxYear=20o8"}),
            Strings({"E:An integer number is expected for the Year", "refused", "not stored"}));
        QCOMPARE(reservoir->FYear, 2008);
        QCOMPARE(reservoir->FReservoirType, rsUnknown);
        QCOMPARE(bed_->Session_.FYear, 2001);
    }

    // The daily grid follows the year box; the station changes only on OK.
    void dailyGridFollowsTheYear()
    {
        auto* station = new TStreamFlow(bed_->Rb, "F1");
        station->FYear = 2007;
        for (std::size_t day = 0; day < station->FDailyData.size(); ++day)
            station->FDailyData[day] = static_cast<double>(day) + 1;
        QStringList shown;
        Submit([&] { return TFormFlow().Edit(station); }, {},
               [&](QDialog& window) {
                   shown << DailyGrid(window);
                   FillIn(window, "cmboxYear=2008");
                   shown << DailyGrid(window);
               });
        QCOMPARE(shown, Strings({"365", "365)  31/12/2007", "1", "366", "366)  31/12/2008", ""}));
        QCOMPARE(station->FYear, 2007);
        QCOMPARE(station->FDailyData[0], 1.0);
    }

    // Retyping the labelled year key by key in the focused box keeps the
    // daily values, also where completion would offer 2008 for the first key;
    // OK stores them all. A whole number that is no four-digit year, which the
    // grid does not follow, is refused.
    void retypingTheYearKeepsTheDailyValues()
    {
        for (const int year : {2008, 2005}) {
            const std::string text = std::to_string(year);
            const QString days = QString::number(year % 4 == 0 ? 366 : 365);
            auto* station = new TStreamFlow(bed_->Rb, "F" + text);
            station->FYear = year;
            station->FLatitude = station->FLongitude = 1;
            station->FWFD = true;
            station->FDailyData.fill(2.5);
            QStringList shown;
            const QStringList findings = Submit(
                [&] { return TFormFlow().Edit(station); }, {"cmboxYear=200", "cmboxYear=" + text},
                [&](QDialog& window) {
                    auto& box = Find<QComboBox>(window, "cmboxYear");
                    window.show();
                    window.activateWindow();
                    box.setFocus();
                    QVERIFY(QTest::qWaitForWindowActive(&window, kHangGuardMs));
                    box.lineEdit()->selectAll();
                    QTest::keyClicks(box.lineEdit(), QString::fromStdString(text));
                    shown << DailyGrid(window);
                });
            QCOMPARE(shown, QStringList({days, QStringLiteral("%1)  31/12/%2").arg(days).arg(year),
                                         QStringLiteral("2.5")}));
            QCOMPARE(findings, Strings({"E:A four-digit year is expected for the Year", "refused",
                                        "stored"}));
            QCOMPARE(std::ranges::count(station->FDailyData, 2.5), 366);
            QCOMPARE(station->FYear, year);
        }
    }

    // Errors keep the form open; warnings alone let it close and store.
    void flowErrorsRefuseAndWarningsStore()
    {
        const char* noNetwork = "W:This station is neither a DUNMAR nor a WFD station";
        const char* noData = "W:No data have been entered. You may want to check the data tab";
        TStreamFlow* created = nullptr;
        QCOMPARE(
            Submit([&] { return TFormFlow().New(bed_->Rb, "", created); },
                   {"edtID=F9;edtLatitude=39.1;edtLongitude=20.9;edtMinDischarge=5;"
                    "edtMaxDischarge=3;edtDataFromYear=-1;edtDataToYear=1990",
                    "edtMaxDischarge=;edtDataFromYear=2010"}),
            Strings({noNetwork,
                     "E:Min. streamflow value should be lower or equal than Max. streamflow value",
                     "E:A positive integer number is expected for the field: Period of available "
                     "data (From)",
                     noData, "refused", noNetwork, noData, "stored"}));
        QVERIFY(!created->FDunmar && !created->FWFD);
        QCOMPARE(created->FMinDischarge, 5.0);
        QCOMPARE(created->FMaxDischarge, MissingReal);
        QCOMPARE(created->FDataFromYear, 2010);
        QCOMPARE(created->FDataToYear, 1990);
    }

    // Levels may be negative, but a cell of blanks is no number; a month out
    // of range is shown and stored as none, -1.
    void wellLevelsAndMonths()
    {
        TWell* well = NewWell(bed_->Country);
        well->FMonthMinLevel = 12;
        QStringList shown;
        QCOMPARE(Submit([&] { return TFormGroundwater().Edit(well); },
                        {"gridData:1:2= ", "gridData:1:2="},
                        [&](QDialog& window) {
                            shown << Find<TQvStringGrid>(window, "gridData").Cell(1, 1);
                            for (const char* box : {"cbMonthMinLevel", "cbMonthMaxLevel"})
                                shown
                                    << QString::number(Find<QComboBox>(window, box).currentIndex());
                        }),
                 Strings({"E:A real number is expected for the field: Mean Groundwater level",
                          "refused", "stored"}));
        QCOMPARE(shown, Strings({"-12.5", "-1", "-1"}));
        QCOMPARE(well->FMeanLevel[0], -12.5);
        QCOMPARE(well->FMonthMinLevel, -1);
        QCOMPARE(well->FMonthMaxLevel, -1);
    }

    // A basin district asks about the district only, a basin about the basin
    // only, other regions about both; a hidden answer is kept.
    void wellQuestionsFollowTheRegionType()
    {
        using TCase = std::pair<TRegion*, const char*>;
        for (const auto& [region, expected] :
             {TCase{bed_->Rbd, "-+"}, TCase{bed_->Rb, "+-"}, TCase{bed_->Nuts1, "++"}}) {
            TWell* well = NewWell(region);
            well->FGWBOutsideRB = 1;
            well->FGWBOutsideRBD = 0;
            QString asked;
            QCOMPARE(
                Submit([&] { return TFormGroundwater().Edit(well); }, {""},
                       [&](QDialog& window) {
                           for (const char* box : {"grpBoxGWBOutsideRB", "grpBoxGWBOutsideRBD"})
                               asked += Find<QGroupBox>(window, box).isHidden() ? u'-' : u'+';
                       }),
                Strings({"stored"}));
            QCOMPARE(asked, QLatin1String(expected));
            QCOMPARE(well->FGWBOutsideRB, 1);
            QCOMPARE(well->FGWBOutsideRBD, 0);
        }
    }

    // Without a choice the time scale stays unknown.
    void rainGaugeTimeScaleIsOptional()
    {
        TRainGauge* created = nullptr;
        Submit([&] { return TFormRainGauge().New(bed_->Nuts1, "", created); },
               {"edtID=P1;" + SCommon});
        QCOMPARE(created->FTimeScale, tsUnknown);
    }
};

WQ_REGISTER_TEST(StationFormsTest);
#include "station_forms_test.moc"
