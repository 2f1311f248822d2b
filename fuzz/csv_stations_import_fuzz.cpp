/*
 * Feeds arbitrary bytes to the station-list import as its CSV file, the first
 * byte choosing the station kind and the delimiter.
 *
 *   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
 *       -DWQ_FUZZ=ON -DWQ_WITH_QT=OFF -DWQ_BENCHMARKS=OFF
 *   cmake --build build-fuzz --target csv_stations_import_fuzz
 *   build-fuzz/fuzz/csv_stations_import_fuzz -max_total_time=60 \
 *       -dict=fuzz/csv_import_fuzz.dict build-fuzz/corpus/csv_stations
 *
 * A file is taken whole or not at all: an import that reports errors must have
 * created no station. A crash, a leak, a sanitizer report or an exception is a
 * fault.
 */

#include <cstdint>
#include <cstdlib>

#include "fuzz/csv_delimiters.h"
#include "fuzz/scratch_file.h"
#include "io/ozr_io_csv_stations.h"
#include "platform/regional_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TScratchFile input("wq_fuzz_csv_stations");
    if (size == 0)
        return 0;
    const ScopedRegionalSettings settings('.', "dd/mm/yyyy");
    const auto kind = static_cast<TStationKind>(data[0] % 4);
    const char* const delimiter = CsvDelimiter(data[0] / 4);
    input.Write(data + 1, size - 1);

    TSession session;
    Session = &session;
    auto* country = new TRegion(nullptr, rtCountry, "GR", "Greece");
    auto* district = new TRegion(country, rtRBD, "GR01", "District");
    new TRegion(district, rtSU, "GR01S", "Unit");
    new TRegion(nullptr, rtCountry, "CY", "Cyprus");
    session.SetCountry(country);
    new TReservoir(district, "R1");

    const TCsvRunResult result =
        TCsvStationsImport({{input.Path(), delimiter, "1"}, kind, "2008"}).Import();
    if (!result.Passed && session.FEntities.Count() != 1)
        std::abort();
    Session = nullptr;
    return 0;
}
