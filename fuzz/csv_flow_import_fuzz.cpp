/*
 * Feeds arbitrary bytes to the daily stream-flow import as its CSV file, the
 * first byte choosing the delimiter.
 *
 *   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
 *       -DWQ_FUZZ=ON -DWQ_WITH_QT=OFF -DWQ_BENCHMARKS=OFF
 *   cmake --build build-fuzz --target csv_flow_import_fuzz
 *   build-fuzz/fuzz/csv_flow_import_fuzz -max_total_time=60 \
 *       -dict=fuzz/csv_import_fuzz.dict build-fuzz/corpus/csv_flow
 *
 * A file is taken whole or not at all: an import that reports errors must have
 * left every station as it was. A crash, a leak, a sanitizer report or an
 * exception is a fault.
 */

#include <cstdint>
#include <cstdlib>

#include "fuzz/csv_delimiters.h"
#include "fuzz/scratch_file.h"
#include "io/ozr_io_csv_flow.h"
#include "platform/regional_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TScratchFile input("wq_fuzz_csv_flow");
    if (size == 0)
        return 0;
    const ScopedRegionalSettings settings('.', "dd/mm/yyyy");
    const char* const delimiter = CsvDelimiter(data[0]);
    input.Write(data + 1, size - 1);

    TSession session;
    Session = &session;
    auto* country = new TRegion(nullptr, rtCountry, "GR", "Greece");
    session.SetCountry(country);
    auto* q1 = new TStreamFlow(country, "Q1");
    auto* q2 = new TStreamFlow(country, "Q2");
    q2->FDailyData.fill(1.0);
    const auto before = q2->FDailyData;

    const TCsvRunResult result =
        TCsvFlowImport(TCsvSettingsText{input.Path(), delimiter, "1"}).Import();
    const bool unchanged =
        q1->FYear == 2008 && q2->FDailyData == before && q1->FDailyData == MissingReals<366>();
    if (!result.Passed && !unchanged)
        std::abort();
    Session = nullptr;
    return 0;
}
