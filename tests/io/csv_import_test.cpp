#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "io/ozr_io_csv_flow.h"
#include "io/ozr_io_csv_stations.h"
#include "platform/codepages.h"
#include "platform/regional_settings.h"
#include "platform/sysutils.h"
#include "tests/model/model_session_fixture.h"
#include "tests/support/files.h"
#include "tests/support/temp_folder.h"

namespace {

using Lines = std::vector<std::string>;

// Lines are cut several bytes at a time: every place of a delimiter, in
// lines shorter and longer than one step, must cut as a plain search does.
TEST(CsvFields, CutAtEveryDelimiterAndTrimmedAsAPlainSearchCuts)
{
    std::mt19937 random(5);
    std::vector<std::string_view> fields;
    for (const char delimiter : {';', '\t'}) {
        const std::string alphabet = std::string("ab ;\t\x01\xC3\xA9") + delimiter;
        for (int i = 0; i < 5000; ++i) {
            std::string line(random() % 70, ' ');
            for (char& c : line)
                c = alphabet[random() % alphabet.size()];
            std::vector<std::string_view> expected;
            std::string_view rest = TrimmedView(line);
            for (std::size_t end; (end = rest.find(delimiter)) != rest.npos;
                 rest.remove_prefix(end + 1))
                expected.push_back(TrimmedView(rest.substr(0, end)));
            expected.push_back(TrimmedView(rest));
            SplitFields(line, std::string(1, delimiter), fields);
            ASSERT_EQ(fields, expected) << line;
        }
    }
}

// The chosen country GR has the RBD GR01 with the SU GR01_1; the country CY has the RBD CY01.
class CsvImportTest : public SessionTest {
protected:
    CsvImportTest()
    {
        new TRegion(rbd_, rtSU, "GR01_1", "Upper basin");
        new TRegion(new TRegion(nullptr, rtCountry, "CY", "Cyprus"), rtRBD, "CY01", "Cyprus");
        session().SetCountry(rbd_->GetParent());
        session().SetModified(false);
    }

    // The bytes as a file of stations of the year 2007, imported or only checked.
    TCsvRunResult Stations(std::string_view bytes, TStationKind kind, bool import = true,
                           const std::string& startRow = "1")
    {
        TCsvStationsImport run(
            {{wqtest::WriteTextFile(file_, bytes), ";", startRow}, kind, "2007"});
        return import ? run.Import() : run.Check();
    }

    TCsvRunResult Flow(std::string_view bytes)
    {
        return TCsvFlowImport({wqtest::WriteTextFile(file_, bytes), ";", "1"}).Import();
    }

    TEntity* Find(const std::string& id, TStationKind kind)
    {
        TEntity* found = nullptr;
        return FindStation(id, kind, found) ? found : nullptr;
    }

    ScopedRegionalSettings settings_{'.', "dd/mm/yyyy"};
    wqtest::TempFolder folder_;
    const std::string file_ = folder_ / "in.csv";
    TRegion* rbd_ = new TRegion(new TRegion(nullptr, rtCountry, "GR", "Greece"), rtRBD, "GR01");
};

TEST_F(CsvImportTest, StationLinesCreateStationsWithTheirFields)
{
    EXPECT_EQ(Stations("rbd;GR01;W1;Well one;23.5;38.1\nRbd;GR01;W2;Two;1;2;extra\n", skWell).Lines,
              Lines{"Data imported"});
    const TEntity* w1 = Find("W1", skWell);
    ASSERT_TRUE(w1);
    EXPECT_EQ(std::tie(w1->FName, w1->FLongitude, w1->FLatitude, w1->FYear, w1->FRegion),
              std::make_tuple("Well one", 23.5, 38.1, 2007, rbd_));
    EXPECT_EQ(session().FWells.Count(), 2);
    EXPECT_TRUE(session().GetModified());
    EXPECT_TRUE(Stations("RBD;GR01;R3;r;1;2;n\n", skReservoir).Passed);
    EXPECT_EQ(static_cast<TReservoir*>(Find("r3", skReservoir))->FReservoirType, rsNatural);
}

TEST_F(CsvImportTest, EachLineCheckHasItsMessageAndLineNumber)
{
    const char* wells =
        "header line\nRBD;gr01;A;a;1;2\n*;comment;;;\n *;GR01;B;b;1;2\n\nrbd;CY01;C;c;1;2\n"
        "su;GR01_1;D;d;1\ncountry;GR;E;e;1,5;2\ncountry;GR;F;f;1;x\n;GR01;G;g;1;2\n";
    const TCsvRunResult result = Stations(wells, skWell, false, "2");
    EXPECT_FALSE(result.Passed);
    EXPECT_EQ(
        result.Lines,
        (Lines{"Line 2: Unrecognized region with code 'gr01' in Country 'Greece'",
               "Line 4: Unrecognized spatial scale '*'",
               "Line 6: Unrecognized region with code 'CY01' in Country 'Greece'",
               "Line 7: No latitude found", "Line 8: A real number is expected for the Longitude",
               "Line 9: A real number is expected for the Latitude",
               "Line 10: No spatial scale found"}));
    EXPECT_EQ(Stations("rbd;GR01;R1;r;1;2\nrbd;GR01;R2;r;1;2;X\n", skReservoir).Lines,
              (Lines{"Line 1: No reservoir type found ('M': Man made 'N': Natural)",
                     "Line 2: The reservoir type could not be recognized ('M': Man made 'N': "
                     "Natural)"}));

    // A well's code is free for a flow station; Q9 is not, in any letter case,
    // nor is a code that the file names twice: nothing is created.
    new TWell(rbd_, "S1");
    new TStreamFlow(rbd_, "Q9");
    EXPECT_EQ(Stations("rbd;GR01;S1;s;1;2\nrbd;GR01;q9;q;1;2\nrbd;GR01;N1;n;1;2\nrbd;GR01;n1;n;1;2",
                       skStreamFlow)
                  .Lines,
              (Lines{"Line 2: A station with code 'q9' already exists",
                     "Line 4: A station with code 'n1' already exists"}));
    EXPECT_EQ(session().FEntities.Count(), 2);
}

TEST_F(CsvImportTest, SettingsArePrecheckedTogether)
{
    ScopedRegionalSettings comma(',', "dd/mm/yyyy");
    TStationImportSettings settings{{folder_ / "missing.csv", ",", "0"}, std::nullopt, "20x8"};
    EXPECT_EQ(TCsvStationsImport(settings).Import().Lines,
              (Lines{"No data type selected", "An integer number is expected for the Year",
                     "WARNING: System decimal separator is the same as the value delimiter in the "
                     "file: ','",
                     "File does not exist",
                     "A positive integer number is expected for the starting row"}));
    settings.Csv.Delimiter = "";
    EXPECT_EQ(TCsvStationsImport(settings).Check().Lines.at(2), "No delimiter specified");
}

TEST_F(CsvImportTest, NamesKeepTheirAccentsInEitherCodePageAndBadBytesAreRefused)
{
    Stations("rbd;GR01;U;Ποταμός Ü;1;2\n", skWell);
    Stations("rbd;GR01;A;K\xF6ln \xE9t\xE9;1;2\r\n", skWell);
    std::string utf16 = "\xFF\xFE";
    for (char16_t c : std::u16string_view(u"rbd;GR01;B;α;1;2"))
        utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    Stations(utf16, skWell);
    EXPECT_EQ(Find("U", skWell)->FName, "Ποταμός Ü");
    EXPECT_EQ(Find("A", skWell)->FName, "Köln été");
    EXPECT_EQ(Find("B", skWell)->FName, "α");

    std::string bad;
    for (int i = 0; i < 4096; ++i)
        bad.push_back(static_cast<char>((i * 7919) & 0xFF));
    EXPECT_FALSE(Stations(bad, skWell).Passed);
    EXPECT_FALSE(Flow(bad).Passed);
    EXPECT_EQ(session().FEntities.Count(), 3);
}

// Each delimiter shares its first bytes with a character of the name: "©"
// with "§", "₂" with "€", "𝄢" with "𝄞". In a file of Windows-1252 the
// delimiter is found among the decoded characters.
TEST_F(CsvImportTest, ADelimiterOutsideAsciiSplitsOnTheWholeCharacter)
{
    const std::string name = "Lake ©₂\U0001D122";
    // The delimiter, as the file writes it; the name, as the file writes it and as read.
    const std::string cases[][4] = {{"§", "§", name, name},
                                    {"€", "€", name, name},
                                    {"\U0001D11E", "\U0001D11E", name, name},
                                    {"§", "\xA7", "K\xF6ln", "Köln"}};
    for (int i = 0; i < 4; ++i) {
        const auto& [delimiter, inFile, written, read] = cases[i];
        const std::string code = "W" + std::to_string(i);
        std::string line = "rbd";
        for (const std::string& field : {std::string("GR01"), code, written, std::string("1")})
            line += inFile + field;
        const std::string file = wqtest::WriteTextFile(file_, line + inFile + "2\n");
        EXPECT_EQ(TCsvStationsImport({{file, delimiter, "1"}, skWell, "2007"}).Import().Lines,
                  Lines{"Data imported"})
            << i;
        ASSERT_TRUE(Find(code, skWell)) << i;
        EXPECT_EQ(Find(code, skWell)->FName, read);
    }
}

// A code is taken by the first line that passes with it: a later line that
// names it fails for that first, whatever else is wrong with it; a line that
// failed takes no code. The findings stay in the order of the lines.
TEST_F(CsvImportTest, ACodeNamedTwiceFailsTheLinesAfterTheOneThatTookIt)
{
    const char* reservoirs =
        "rbd;GR01;A;first;1;2;x\n"   // fails its type, so A stays free
        "rbd;GR01;a;second;1;2;m\n"  // takes A
        "rbd;GR01;A;third;x;2;m\n"   // taken, though its longitude is bad as well
        "xx;GR01;A;fourth;1;2;n\n";  // its scale comes before its code
    EXPECT_EQ(
        Stations(reservoirs, skReservoir, false).Lines,
        (Lines{"Line 1: The reservoir type could not be recognized ('M': Man made 'N': Natural)",
               "Line 3: A station with code 'A' already exists",
               "Line 4: Unrecognized spatial scale 'xx'"}));
}

// The file is read in pieces; what a line keeps must outlive them. A file
// that shows a Windows-1252 byte only after lines were handed out is read
// again from its first line: none of its codes is taken twice.
TEST_F(CsvImportTest, LongFilesKeepTheirLinesWholeAndStartOverWhenFoundToBeWindows1252)
{
    constexpr int kLines = 20000;
    std::string text = "rbd;GR01;A;K\xC3\xB6ln;1;2\n";
    for (int i = 0; i < kLines; ++i)
        text +=
            "rbd;GR01;S" + std::to_string(i) + ";Station number " + std::to_string(i) + ";1;2\n";
    EXPECT_EQ(Stations(text + "rbd;GR01;s0;Again;1;2\n", skWell, false).Lines,
              Lines{"Line 20002: A station with code 's0' already exists"});
    EXPECT_EQ(Stations(text + "rbd;GR01;Z;caf\xE9;1;2\n", skWell).Lines, Lines{"Data imported"});
    EXPECT_EQ(Find("A", skWell)->FName, AnsiToUtf8("K\xC3\xB6ln"));
    EXPECT_EQ(Find("S0", skWell)->FName, "Station number 0");
    EXPECT_EQ(Find("S19999", skWell)->FName, "Station number 19999");
    EXPECT_EQ(Find("Z", skWell)->FName, "café");
    EXPECT_EQ(session().FWells.Count(), kLines + 2);
}

TEST_F(CsvImportTest, DailyValuesGoToTheirDayAndANewYearStartsFromEmptyDays)
{
    auto* q1 = new TStreamFlow(rbd_, "Q1");
    session().SetModified(false);
    EXPECT_EQ(Flow("q1;15/03/2005;12.7\nQ1;1/1/2005;5\n").Lines, Lines{"Data imported"});
    EXPECT_EQ(std::tie(q1->FYear, q1->FDailyData[73]), std::make_tuple(2005, 12.7));
    EXPECT_TRUE(session().GetModified());
    Flow("Q1;2/1/2005;0\n");
    EXPECT_EQ(std::tie(q1->FDailyData[0], q1->FDailyData[1]), std::make_tuple(5.0, 0.0));
    // The last line of a day wins, whatever lines of other stations stand between.
    auto* q2 = new TStreamFlow(rbd_, "Q2");
    Flow("Q1;3/1/2005;1\nQ2;3/1/2005;5\nq1;3/1/2005;2\n");
    EXPECT_EQ(std::tie(q1->FDailyData[2], q2->FDailyData[2]), std::make_tuple(2.0, 5.0));
    Flow("Q1;29/02/2008;1\nQ1;31/12/2008;2\n");
    EXPECT_EQ(std::tie(q1->FYear, q1->FDailyData[0], q1->FDailyData[59], q1->FDailyData[365]),
              std::make_tuple(2008, MissingReal, 1.0, 2.0));
}

TEST_F(CsvImportTest, DailyLineChecks)
{
    auto* q1 = new TStreamFlow(rbd_, "Q1");
    new TStreamFlow(rbd_, "Q2");
    new TWell(rbd_, "W1");
    const TCsvRunResult result = Flow(
        "Q1;1/1/2005;-0.5\nQ1;1/1/2005;1,5\nQ1;31/02/2005;1\nW1;1/1/2005;1\nQ2;1/1/2009;1\n"
        "Q2;1/1/1997;1\nQ1;2/1/2005;1\nQ2;3/1/2005;1\nQ1;1/1/2006;1\nQ1;;1\nQ1;1/1/2005\n");
    EXPECT_FALSE(result.Passed);
    EXPECT_EQ(result.Lines, (Lines{"Line 1: The streamflow value must be a positive real number",
                                   "Line 2: The streamflow value must be a positive real number",
                                   "Line 3: The date is not valid",
                                   "Line 4: A stremflow station with code 'W1' does not exist",
                                   "Line 5: Only years between 1998-2008 may be imported",
                                   "Line 6: Only years between 1998-2008 may be imported",
                                   "Line 9: Only one (calendar) year per station may be imported",
                                   "Line 10: No date found", "Line 11: No value found"}));
    EXPECT_EQ(q1->FDailyData[1], MissingReal);
}

}  // namespace
