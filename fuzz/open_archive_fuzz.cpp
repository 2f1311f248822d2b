// Opening an archive held in memory: the end records, the central directory,
// the Zip64 records and the rebuild from local headers, with damage tolerated
// and not, then writing the directory back and reading it again, and looking
// names up in a copy of the directory once the directory is gone.
//
//   CC=clang CXX=clang++ cmake -S . -B build-h4b-fuzz -G Ninja -DWQ_FUZZ=ON -DWQ_WITH_QT=OFF
//   cmake --build build-h4b-fuzz --target open_archive_fuzz
//   cd build-h4b-fuzz && mkdir -p fuzz-out
//   fuzz/open_archive_fuzz -max_total_time=60 -max_len=65536 fuzz-out ../../shared/zip-corpus

#include <cstddef>
#include <cstdint>

#include "zip/archiver/ZipArchiver.h"

namespace {

void OpenAndRewrite(const std::uint8_t* data, std::size_t size, bool tolerant)
{
    TZipArchiver zip;
    zip.SetTolerateDamage(tolerant);
    TMemoryStream stream;
    stream.LoadFromBytes(data, size);
    TZADirManager manager(zip, &stream, false);
    try {
        if (!manager.ReadDirectory()) {
            return;
        }
        auto& items = manager.Items();
        for (int i = 0; i < items.Count(); ++i) {
            int index = -1;
            items.FindName(items.ItemPtr(i).FileName(), index);
        }
        manager.WriteDirectory(false);
        // The snapshot of an update shares the items' texts, which must outlive
        // the directory they were read with.
        auto& snapshot = manager.Snapshot();
        snapshot.Assign(items);
        TZADirManager again(zip, &stream, false);
        again.ReadDirectory();
        manager.Reset();
        for (int i = 0; i < snapshot.Count(); ++i) {
            int index = -1;
            snapshot.FindName(snapshot.ItemPtr(i).FileName(), index);
        }
    } catch (const Exception&) {
        // Archiver errors and stream errors are the answers to bad input.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    OpenAndRewrite(data, size, true);
    OpenAndRewrite(data, size, false);
    return 0;
}
