/*
 * Feeds arbitrary bytes to the region-tree reader as the regions file, then
 * writes the tree it built and reads that file back: every region must return.
 *
 *   CC=clang CXX=clang++ cmake -S . -B build-h2-fuzz -G Ninja \
 *       -DWQ_FUZZ=ON -DWQ_WITH_QT=OFF -DWQ_BENCHMARKS=OFF
 *   cmake --build build-h2-fuzz --target load_regions_fuzz
 *   mkdir -p build-h2-fuzz/corpus/load_regions
 *   build-h2-fuzz/fuzz/load_regions_fuzz -max_total_time=60 \
 *       -dict=fuzz/load_regions_fuzz.dict build-h2-fuzz/corpus/load_regions
 *
 * Any Exception from the first read is an accepted outcome; a crash, a leak, a
 * sanitizer report, an exception of another kind, or a written tree that does
 * not read back whole is a fault.
 */

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "fuzz/scratch_file.h"
#include "io/ozr_io_load.h"
#include "io/ozr_io_save.h"
#include "platform/exception.h"
#include "platform/scripted_dialogs.h"

namespace {

// The number of regions that LoadRegions makes of the file, or -1 when it fails.
int LoadedRegionCount(const std::string& path)
{
    TSession session;
    Session = &session;
    session.FRegionsFile = path;
    try {
        LoadRegions();
    } catch (const Exception&) {
        return -1;
    }
    return session.FRegions.Count();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TScratchFile input("wq_fuzz_regions_in");
    static TScratchFile written("wq_fuzz_regions_out");
    TScriptedDialogs dialogs;
    ScopedDialogs installed(dialogs);
    input.Write(data, size);

    int count = 0;
    {
        TSession session;
        Session = &session;
        session.FRegionsFile = input.Path();
        try {
            LoadRegions();
        } catch (const Exception&) {
            return 0;
        }
        count = session.FRegions.Count();
        session.FRegionsFile = written.Path();
        SaveRegions();
    }
    if (LoadedRegionCount(written.Path()) != count)
        std::abort();
    return 0;
}
