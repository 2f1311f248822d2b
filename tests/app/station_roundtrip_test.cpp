// A station of each kind is entered through its form, saved to a data file
// and read back into a new session, where it must hold what was typed.

#include <QComboBox>
#include <QPlainTextEdit>

#include "app/ozr_flow.h"
#include "app/ozr_groundwater.h"
#include "app/ozr_rain_gauge.h"
#include "app/ozr_reservoirs.h"
#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "tests/app/station_tests.h"
#include "tests/qt_support/qt_tests.h"
#include "tests/support/temp_folder.h"

namespace {

using TTyped = std::initializer_list<std::pair<const char*, const char*>>;

void TypeAll(QDialog& form, TTyped boxes)
{
    for (const auto& [name, text] : boxes)
        Type(form, name, QString::fromUtf8(text));
}

// The fields that every station form shows.
void TypeCommon(QDialog& form, const char* id)
{
    TypeAll(form, {{"edtID", id},
                   {"edtName", "Agios Nikolaos"},
                   {"edtLatitude", "38.25"},
                   {"edtLongitude", "-21.5"},
                   {"edtAltitude", "120.5"},
                   {"edtCoordinateSys", "WGS84 "},
                   {"edtProjectionSys", "UTM zone 34N"}});
    SetYear(form, QStringLiteral("2005"));
    Find<QPlainTextEdit>(form, "Memo1").setPlainText(QStringLiteral("Measured\nby hand"));
}

void ExpectCommon(const TEntity& station, const std::string& id, const TRegion& region)
{
    QCOMPARE(station.GetID(), id);
    QCOMPARE(station.FName, std::string("Agios Nikolaos"));
    QCOMPARE(station.FYear, 2005);
    QCOMPARE(station.FLatitude, 38.25);
    QCOMPARE(station.FLongitude, -21.5);
    QCOMPARE(station.FAltitude, 120.5);
    QCOMPARE(station.FCoordinateSystem, std::string("WGS84 "));
    QCOMPARE(station.FProjectionSystem, std::string("UTM zone 34N"));
    QCOMPARE(station.FRemarks, std::string("Measured\nby hand"));
    QVERIFY(station.FRegion != nullptr);
    QCOMPARE(station.FRegion->GetCode(), region.GetCode());
}

// Fills column `col` from row 1 with the texts, and says what they store.
std::vector<double> FillColumn(QDialog& form, const char* grid, int col,
                               const std::vector<const char*>& texts)
{
    std::vector<double> stored;
    int row = 1;
    for (const char* text : texts) {
        SetCell(form, grid, col, row++, QString::fromUtf8(text));
        stored.push_back(*text ? std::stod(text) : MissingReal);
    }
    return stored;
}

template <std::size_t N>
void ExpectValues(const std::array<double, N>& values, const std::vector<double>& expected)
{
    for (std::size_t i = 0; i < expected.size(); ++i)
        QCOMPARE(values[i], expected[i]);
}

}  // namespace

class StationRoundTripTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TStationBed> bed_;
    std::unique_ptr<wqtest::TempFolder> folder_;
    std::unique_ptr<TSession> copy_;

    // Saves the session, reads the file into a new session over the same
    // regions and returns that session's only station of the list.
    template <typename TStation>
    TStation& SavedAndReadBack(TListOZR TSession::*list)
    {
        const std::string path = *folder_ / "stations.wqd";
        SaveDataFile(path);
        copy_ = std::make_unique<TSession>();
        Session = copy_.get();
        BuildRegionTree();
        copy_->FDataFile = path;
        LoadDataFile();
        Session = &bed_->Session_;
        if ((copy_.get()->*list).Count() != 1)
            throw std::runtime_error("the file did not hold one station of the kind");
        return *static_cast<TStation*>((copy_.get()->*list)[0]);
    }

private slots:
    void init()
    {
        bed_ = std::make_unique<TStationBed>();
        folder_ = std::make_unique<wqtest::TempFolder>();
    }

    void cleanup()
    {
        copy_.reset();
        Session = &bed_->Session_;
        bed_.reset();
        folder_.reset();
    }

    void reservoir()
    {
        TFormReservoirs form;
        std::vector<double> inflow;
        std::vector<double> outflow;
        bed_->Modal.Then([&](QDialog& window) {
            TypeCommon(window, "R-1");
            TypeAll(window,
                    {{"edtStorage", "350.75"}, {"edtFromYear", "1980"}, {"edtToYear", "2004"}});
            Check(window, "rbManMade");
            inflow = FillColumn(window, "gridData", 1,
                                {"1.5", "1.5", "1.5", "1.5", "1.5", "1.5", "1.5", "1.5", "1.5",
                                 "1.5", "1.5", "1.5", "18", "2.25", "0.75", "17.5"});
            outflow =
                FillColumn(window, "gridData", 2,
                           {"0", "2", "", "", "", "", "", "", "", "", "", "", "", "", "", "9"});
            QVERIFY(ClickOK(window));
        });
        TReservoir* created = nullptr;
        QVERIFY(form.New(bed_->Rbd, "", created));
        const auto& read = SavedAndReadBack<TReservoir>(&TSession::FReservoirs);
        ExpectCommon(read, "R-1", *bed_->Rbd);
        QCOMPARE(read.FStorageCapacity, 350.75);
        QCOMPARE(read.FReservoirType, rsManMade);
        QCOMPARE(read.FLTAAFromYear, 1980);
        QCOMPARE(read.FLTAAToYear, 2004);
        ExpectValues(read.FInflow, inflow);
        ExpectValues(read.FOutflow, outflow);
    }

    void well()
    {
        TFormGroundwater form;
        std::vector<double> levels;
        bed_->Modal.Then([&](QDialog& window) {
            TypeCommon(window, "W-1");
            TypeAll(window, {{"edtAquifer", "Alluvial aquifer"},
                             {"edtFromYear", "1960"},
                             {"edtToYear", "2000"}});
            Check(window, "rbGWBOutsideRBDYes");
            levels = FillColumn(window, "gridData", 1,
                                {"-12.5", "-11", "", "-9.75", "", "", "", "", "", "", "", "", "-10",
                                 "-9", "-12", "-10.5"});
            Find<QComboBox>(window, "cbMonthMinLevel").setCurrentIndex(1);
            Find<QComboBox>(window, "cbMonthMaxLevel").setCurrentIndex(11);
            QVERIFY(ClickOK(window));
        });
        TWell* created = nullptr;
        QVERIFY(form.New(bed_->Rbd, "", created));
        const auto& read = SavedAndReadBack<TWell>(&TSession::FWells);
        ExpectCommon(read, "W-1", *bed_->Rbd);
        QCOMPARE(read.FGWB, std::string("Alluvial aquifer"));
        QCOMPARE(read.FGWBOutsideRBD, 1);
        QCOMPARE(read.FGWBOutsideRB, MissingInteger);
        ExpectValues(read.FMeanLevel, levels);
        QCOMPARE(read.FMonthMinLevel, 1);
        QCOMPARE(read.FMonthMaxLevel, 11);
        QCOMPARE(read.FLTAAFromYear, 1960);
        QCOMPARE(read.FLTAAToYear, 2000);
    }

    void streamFlow()
    {
        TFormFlow form;
        std::vector<double> monthly;
        std::vector<double> ltaa;
        bed_->Modal.Then([&](QDialog& window) {
            TypeCommon(window, "F-1");
            TypeAll(window, {{"edtRiver", "Alfeios"},
                             {"edtRiver_basin", "Alfeios basin"},
                             {"edtRiver_basin_area", "3658"},
                             {"edtSubcatchment", "Ladon"},
                             {"edtSubcatchment_area", "0"},
                             {"edtAgency", "Water Agency"},
                             {"edtURL", "https://example.org/flows"},
                             {"edtDataFromYear", "1950"},
                             {"edtDataToYear", "2005"},
                             {"edtMinDischarge", "0.5"},
                             {"edtMinDischargeDate", "3/8/2005"},
                             {"edtMaxDischarge", "120"},
                             {"edtMaxDischargeDate", "01/02/2005"},
                             {"edtannual_data", "10.25"},
                             {"edtLTAA", "11"},
                             {"edtFromYear", "1970"},
                             {"edtToYear", "2000"}});
            Check(window, "chbDUNMAR");
            monthly =
                FillColumn(window, "gridMonthlyData", 1,
                           {"20", "18", "15", "12", "8", "4", "2", "1.5", "2", "6", "12", "19"});
            ltaa = FillColumn(window, "gridMonthlyData", 2,
                              {"21", "", "", "", "", "", "", "", "", "", "", "0.125"});
            for (int day = 1; day <= 365; ++day)
                SetCell(window, "gridDailyData", 1, day, QString::number(day * 0.5));
            QVERIFY(ClickOK(window));
        });
        TStreamFlow* created = nullptr;
        QVERIFY(form.New(bed_->Rb, "", created));
        const auto& read = SavedAndReadBack<TStreamFlow>(&TSession::FStreamFlows);
        ExpectCommon(read, "F-1", *bed_->Rb);
        QCOMPARE(read.FRiver, std::string("Alfeios"));
        QCOMPARE(read.FRiverBasin, std::string("Alfeios basin"));
        QCOMPARE(read.FRiverBasinArea, 3658.0);
        QCOMPARE(read.FSubcatchment, std::string("Ladon"));
        QCOMPARE(read.FSubcatchmentArea, 0.0);
        QVERIFY(read.FDunmar);
        QVERIFY(!read.FWFD);
        QCOMPARE(read.FDataAgency, std::string("Water Agency"));
        QCOMPARE(read.FDataURL, std::string("https://example.org/flows"));
        QCOMPARE(read.FDataFromYear, 1950);
        QCOMPARE(read.FDataToYear, 2005);
        QCOMPARE(read.FMinDischarge, 0.5);
        QCOMPARE(read.FMinDischargeDate, std::string("3/8/2005"));
        QCOMPARE(read.FMaxDischarge, 120.0);
        QCOMPARE(read.FMaxDischargeDate, std::string("01/02/2005"));
        QCOMPARE(read.FAnnualData, 10.25);
        QCOMPARE(read.FLTAA, 11.0);
        QCOMPARE(read.FLTAAFromYear, 1970);
        QCOMPARE(read.FLTAAToYear, 2000);
        ExpectValues(read.FMonthlyData, monthly);
        ExpectValues(read.FLTAAData, ltaa);
        for (std::size_t day = 0; day < 365; ++day)
            QCOMPARE(read.FDailyData[day], (static_cast<double>(day) + 1) * 0.5);
        QCOMPARE(read.FDailyData[365], MissingReal);
    }

    void rainGauge()
    {
        TFormRainGauge form;
        bed_->Modal.Then([&](QDialog& window) {
            TypeCommon(window, "P-1");
            TypeAll(window, {{"edtRiver_basin", "Pineios"},
                             {"edtRiver_basin_area", "11000.5"},
                             {"edtSubcatchment", "Enipeas"},
                             {"edtSubcatchment_area", "12"},
                             {"edtAgency", "Met Office"},
                             {"edtURL", "ftp://example.org/rain"},
                             {"edtDataFromYear", "1961"},
                             {"edtDataToYear", "2005"}});
            Check(window, "chbWFD");
            Check(window, "rbDaily");
            QVERIFY(ClickOK(window));
        });
        TRainGauge* created = nullptr;
        QVERIFY(form.New(bed_->Nuts1, "", created));
        const auto& read = SavedAndReadBack<TRainGauge>(&TSession::FRainGauges);
        ExpectCommon(read, "P-1", *bed_->Nuts1);
        QCOMPARE(read.FRiverBasin, std::string("Pineios"));
        QCOMPARE(read.FRiverBasinArea, 11000.5);
        QCOMPARE(read.FSubcatchment, std::string("Enipeas"));
        QCOMPARE(read.FSubcatchmentArea, 12.0);
        QVERIFY(!read.FDunmar);
        QVERIFY(read.FWFD);
        QCOMPARE(read.FDataAgency, std::string("Met Office"));
        QCOMPARE(read.FDataURL, std::string("ftp://example.org/rain"));
        QCOMPARE(read.FDataPeriodFrom, 1961);
        QCOMPARE(read.FDataPeriodTo, 2005);
        QCOMPARE(read.FTimeScale, tsDaily);
    }
};

WQ_REGISTER_TEST(StationRoundTripTest);
#include "station_roundtrip_test.moc"
