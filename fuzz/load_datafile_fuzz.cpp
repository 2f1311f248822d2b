/*
 * Feeds arbitrary bytes to the data-file reader as the file it opens.
 *
 *   CC=clang CXX=clang++ cmake -S . -B build-h2-fuzz -G Ninja \
 *       -DWQ_FUZZ=ON -DWQ_WITH_QT=OFF -DWQ_BENCHMARKS=OFF
 *   cmake --build build-h2-fuzz --target load_datafile_fuzz
 *   mkdir -p build-h2-fuzz/corpus/load_datafile
 *   build-h2-fuzz/fuzz/load_datafile_fuzz -max_total_time=60 \
 *       -dict=fuzz/load_datafile_fuzz.dict build-h2-fuzz/corpus/load_datafile
 *
 * Every input is read into a fresh session that holds a small region tree. Any
 * Exception is an accepted outcome; a crash, a leak, a sanitizer report or an
 * exception of another kind is a fault.
 */

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "fuzz/scratch_file.h"
#include "io/ozr_io_load.h"
#include "platform/exception.h"
#include "platform/scripted_dialogs.h"

namespace {

void BuildRegionTree()
{
    auto* greece = new TRegion(nullptr, rtCountry, "GR");
    TRegion* nuts1 = new TRegion(greece, rtNUTS1, "GR1");
    new TRegion(nuts1, rtNUTS2, "GR11");
    TRegion* district = new TRegion(greece, rtRBD, "GR01");
    new TRegion(district, rtSU, "GR01S");
    new TRegion(greece, rtRB, "GRRB");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TScratchFile input("wq_fuzz_datafile");
    TScriptedDialogs dialogs;
    ScopedDialogs installed(dialogs);
    TSession session;
    Session = &session;
    BuildRegionTree();
    session.FDataFile = input.Write(data, size);
    try {
        LoadDataFile();
    } catch (const Exception&) {
    }
    return 0;
}
