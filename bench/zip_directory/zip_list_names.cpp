// The archiver's side of the open benchmark as a whole process: opens an
// archive, prints the names of its items one per line, as `unzip -Z1` does,
// and frees everything before it ends.

#include <cstdio>

#include "zip/archiver/ZipArchiver.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s archive.zip\n", argv[0]);
        return 2;
    }
    try {
        TZipArchiver zip;
        zip.SetFileName(argv[1]);
        zip.OpenArchive(ZAModeReadOnly);
        const TZADirArray& items = zip.DirManager()->Items();
        for (int i = 0; i < items.Count(); ++i) {
            const std::string_view name = items.ItemPtr(i).FileName();
            std::fwrite(name.data(), 1, name.size(), stdout);
            std::fputc('\n', stdout);
        }
        zip.CloseArchive();
    } catch (const Exception& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    return 0;
}
