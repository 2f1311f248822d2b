#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "io/ozr_io_csv_flow.h"
#include "io/ozr_io_csv_stations.h"
#include "platform/regional_settings.h"
#include "tests/model/model_session_fixture.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using Lines = std::vector<std::string>;

// A session whose country GR has the RBD GR01 with the SU GR01_1, beside a
// country CY with the RBD CY01; GR is the chosen country.
class CsvImportTest : public SessionTest {
protected:
    CsvImportTest()
    {
        gr_ = new TRegion(nullptr, rtCountry, "GR", "Greece");
        rbd_ = new TRegion(gr_, rtRBD, "GR01", "Western Peloponnese");
        new TRegion(rbd_, rtSU, "GR01_1", "Upper basin");
        auto* cy = new TRegion(nullptr, rtCountry, "CY", "Cyprus");
        new TRegion(cy, rtRBD, "CY01", "Cyprus");
        session().SetCountry(gr_);
        session().SetModified(false);
    }

    std::string File(std::string_view text)
    {
        return wqtest::WriteTextFile(folder_ / "in.csv", text);
    }

    TStationImportSettings Stations(std::string_view text, TStationKind kind,
                                    const std::string& startRow = "1")
    {
        return {{File(text), ";", startRow}, kind, "2007"};
    }

    TCsvRunResult ImportStations(std::string_view text, TStationKind kind,
                                 const std::string& startRow = "1")
    {
        return TCsvStationsImport(Stations(text, kind, startRow)).Import();
    }

    TCsvRunResult ImportFlow(std::string_view text)
    {
        return TCsvFlowImport(TCsvSettingsText{File(text), ";", "1"}).Import();
    }

    TStreamFlow* Flow(const std::string& id)
    {
        TEntity* found = nullptr;
        return FindStation(id, skStreamFlow, found) ? static_cast<TStreamFlow*>(found) : nullptr;
    }

    ScopedRegionalSettings settings_{'.', "dd/mm/yyyy"};
    wqtest::TempFolder folder_;
    TRegion* gr_ = nullptr;
    TRegion* rbd_ = nullptr;
};

TEST_F(CsvImportTest, AWellLineCreatesTheWellWithItsFields)
{
    const TCsvRunResult result =
        ImportStations("rbd;GR01;W1;Well one;23.5;38.1\nRbd;GR01;W2;Two;1;2;extra\n", skWell);
    EXPECT_TRUE(result.Passed);
    EXPECT_EQ(result.Lines, Lines{"Data imported"});
    TEntity* well = nullptr;
    ASSERT_TRUE(FindStation("W1", skWell, well));
    EXPECT_EQ(well->FName, "Well one");
    EXPECT_EQ(well->FLongitude, 23.5);
    EXPECT_EQ(well->FLatitude, 38.1);
    EXPECT_EQ(well->FYear, 2007);
    EXPECT_EQ(well->FRegion, rbd_);
    EXPECT_EQ(static_cast<TWell*>(well)->FMeanLevel[0], MissingReal);
    EXPECT_EQ(session().FWells.Count(), 2);
    EXPECT_TRUE(session().GetModified());
}

TEST_F(CsvImportTest, EachLineCheckHasItsMessageAndLineNumber)
{
    const TCsvRunResult result = TCsvStationsImport(Stations("header line\n"
                                                             "RBD;gr01;A;a;1;2\n"
                                                             "*;comment;;;\n"
                                                             " *;GR01;B;b;1;2\n"
                                                             "\n"
                                                             "rbd;CY01;C;c;1;2\n"
                                                             "su;GR01_1;D;d;1\n"
                                                             "country;GR;E;e;1,5;2\n"
                                                             "country;GR;F;f;1;x\n"
                                                             ";GR01;G;g;1;2\n",
                                                             skWell, "2"))
                                     .Check();
    EXPECT_FALSE(result.Passed);
    EXPECT_EQ(
        result.Lines,
        (Lines{"Line 2: Unrecognized region with code 'gr01' in Country 'Greece'",
               "Line 4: Unrecognized spatial scale '*'",
               "Line 6: Unrecognized region with code 'CY01' in Country 'Greece'",
               "Line 7: No latitude found", "Line 8: A real number is expected for the Longitude",
               "Line 9: A real number is expected for the Latitude",
               "Line 10: No spatial scale found"}));
    EXPECT_EQ(session().FEntities.Count(), 0);
}

TEST_F(CsvImportTest, ReservoirsNeedTheirType)
{
    const TCsvRunResult result = ImportStations(
        "rbd;GR01;R1;r;1;2\nrbd;GR01;R2;r;1;2;X\nrbd;GR01;R3;r;1;2;n\n", skReservoir);
    EXPECT_FALSE(result.Passed);
    EXPECT_EQ(result.Lines,
              (Lines{"Line 1: No reservoir type found ('M': Man made 'N': Natural)",
                     "Line 2: The reservoir type could not be recognized ('M': Man made 'N': "
                     "Natural)"}));
    EXPECT_EQ(ImportStations("rbd;GR01;R3;r;1;2;n\n", skReservoir).Lines, Lines{"Data imported"});
    TEntity* reservoir = nullptr;
    ASSERT_TRUE(FindStation("r3", skReservoir, reservoir));
    EXPECT_EQ(static_cast<TReservoir*>(reservoir)->FReservoirType, rsNatural);
}

TEST_F(CsvImportTest, CodesClashWithinOneKindAndWithinTheFile)
{
    new TWell(rbd_, "S1");
    new TStreamFlow(rbd_, "Q9");
    // A well's code is free for a flow station; Q9 is not, in any letter case,
    // nor is a code that the file names twice: nothing is created.
    const TCsvRunResult result = ImportStations(
        "rbd;GR01;S1;s;1;2\nrbd;GR01;q9;q;1;2\nrbd;GR01;N1;n;1;2\n"
        "rbd;GR01;n1;n;1;2\n",
        skStreamFlow);
    EXPECT_FALSE(result.Passed);
    EXPECT_EQ(result.Lines, (Lines{"Line 2: A station with code 'q9' already exists",
                                   "Line 4: A station with code 'n1' already exists"}));
    EXPECT_EQ(session().FStreamFlows.Count(), 1);
}

TEST_F(CsvImportTest, SettingsArePrecheckedTogether)
{
    ScopedRegionalSettings comma(',', "dd/mm/yyyy");
    TStationImportSettings settings{{folder_ / "missing.csv", ",", "0"}, std::nullopt, "20x8"};
    const TCsvRunResult result = TCsvStationsImport(settings).Import();
    EXPECT_FALSE(result.Passed);
    EXPECT_EQ(result.Lines,
              (Lines{"No data type selected", "An integer number is expected for the Year",
                     "WARNING: System decimal separator is the same as the value delimiter in the "
                     "file: ','",
                     "File does not exist",
                     "A positive integer number is expected for the starting row"}));
    settings.Csv.Delimiter = "";
    EXPECT_EQ(TCsvStationsImport(settings).Check().Lines.at(2), "No delimiter specified");
}

TEST_F(CsvImportTest, NamesKeepTheirAccentsInEitherCodePage)
{
    ImportStations("rbd;GR01;U;Ποταμός Ü;1;2\n", skWell);
    File("");
    wqtest::WriteFileBytes(folder_ / "ansi.csv",
                           wqtest::ToBytes("rbd;GR01;A;K\xF6ln \xE9t\xE9;1;2\r\n"));
    TCsvStationsImport({{folder_ / "ansi.csv", ";", "1"}, skWell, "2008"}).Import();
    wqtest::WriteFileBytes(
        folder_ / "bom16.csv",
        {0xFF, 0xFE, 'r', 0,   'b', 0,   'd', 0,    ';',  0,   'G', 0,   'R', 0,   '0', 0,   '1',
         0,    ';',  0,   'B', 0,   ';', 0,   0xB1, 0x03, ';', 0,   '1', 0,   ';', 0,   '2', 0});
    TCsvStationsImport({{folder_ / "bom16.csv", ";", "1"}, skWell, "2008"}).Import();

    TEntity* station = nullptr;
    ASSERT_TRUE(FindStation("U", skWell, station));
    EXPECT_EQ(station->FName, "Ποταμός Ü");
    ASSERT_TRUE(FindStation("A", skWell, station));
    EXPECT_EQ(station->FName, "Köln été");
    ASSERT_TRUE(FindStation("B", skWell, station));
    EXPECT_EQ(station->FName, "α");
}

TEST_F(CsvImportTest, AFileOfBadBytesIsReportedLineByLine)
{
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 4096; ++i)
        bytes.push_back(static_cast<std::uint8_t>((i * 7919) & 0xFF));
    wqtest::WriteFileBytes(folder_ / "bad.csv", bytes);
    const TCsvRunResult result =
        TCsvStationsImport({{folder_ / "bad.csv", ";", "1"}, skWell, "2008"}).Import();
    EXPECT_FALSE(result.Passed);
    EXPECT_EQ(session().FEntities.Count(), 0);
    const TCsvRunResult flow =
        TCsvFlowImport(TCsvSettingsText{folder_ / "bad.csv", ";", "1"}).Import();
    EXPECT_FALSE(flow.Passed);
}

TEST_F(CsvImportTest, DailyValuesGoToTheirDayOfTheYear)
{
    auto* q1 = new TStreamFlow(rbd_, "Q1");
    session().SetModified(false);
    const TCsvRunResult result = ImportFlow("q1;15/03/2005;12.7\nQ1;1/1/2005;0\n");
    EXPECT_EQ(result.Lines, Lines{"Data imported"});
    EXPECT_EQ(q1->FYear, 2005);
    EXPECT_EQ(q1->FDailyData[73], 12.7);
    EXPECT_EQ(q1->FDailyData[0], 0.0);
    EXPECT_TRUE(session().GetModified());

    ImportFlow("Q1;29/02/2008;1\nQ1;31/12/2008;2\n");
    EXPECT_EQ(q1->FDailyData[59], 1.0);
    EXPECT_EQ(q1->FDailyData[365], 2.0);
}

TEST_F(CsvImportTest, ANewYearStartsFromEmptyDaysAndTheSameYearKeepsThem)
{
    auto* q1 = new TStreamFlow(rbd_, "Q1");
    ImportFlow("Q1;1/1/2005;5\nQ1;2/1/2005;6\n");
    ImportFlow("Q1;2/1/2005;7\n");
    EXPECT_EQ(q1->FDailyData[0], 5.0);
    EXPECT_EQ(q1->FDailyData[1], 7.0);
    ImportFlow("Q1;3/1/2006;8\n");
    EXPECT_EQ(q1->FYear, 2006);
    EXPECT_EQ(q1->FDailyData[0], MissingReal);
    EXPECT_EQ(q1->FDailyData[1], MissingReal);
    EXPECT_EQ(q1->FDailyData[2], 8.0);
}

TEST_F(CsvImportTest, DailyLineChecks)
{
    new TStreamFlow(rbd_, "Q1");
    new TStreamFlow(rbd_, "Q2");
    new TWell(rbd_, "W1");
    const TCsvRunResult result = ImportFlow(
        "Q1;1/1/2005;-0.5\n"
        "Q1;1/1/2005;1,5\n"
        "Q1;31/02/2005;1\n"
        "W1;1/1/2005;1\n"
        "Q2;1/1/2009;1\n"
        "Q2;1/1/1997;1\n"
        "Q1;2/1/2005;1\n"
        "Q2;3/1/2005;1\n"
        "Q1;1/1/2006;1\n"
        "Q1;;1\n"
        "Q1;1/1/2005\n");
    EXPECT_FALSE(result.Passed);
    EXPECT_EQ(result.Lines, (Lines{"Line 1: The streamflow value must be a positive real number",
                                   "Line 2: The streamflow value must be a positive real number",
                                   "Line 3: The date is not valid",
                                   "Line 4: A stremflow station with code 'W1' does not exist",
                                   "Line 5: Only years between 1998-2008 may be imported",
                                   "Line 6: Only years between 1998-2008 may be imported",
                                   "Line 9: Only one (calendar) year per station may be imported",
                                   "Line 10: No date found", "Line 11: No value found"}));
    EXPECT_EQ(Flow("Q1")->FDailyData[1], MissingReal);
}

}  // namespace
