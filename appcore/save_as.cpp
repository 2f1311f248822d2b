#include "appcore/save_as.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "appcore/form_texts.h"
#include "platform/dialogs.h"
#include "platform/exception.h"
#include "platform/sysutils.h"
#include "zip/ZAPaths.h"
#include "zip/ZipArchiver.h"

namespace {

[[noreturn]] void RaiseZipWriteError(const std::string& ZipName, int Error)
{
    throw Exception("Cannot write the file \"" + ZipName + "\": " + std::strerror(Error));
}

// A new, empty file beside ZipName that no other file is using. It is hidden,
// so that a copy left by a crash is not taken for a submission.
std::string CreateTemporaryBeside(const std::string& ZipName)
{
    const std::size_t slash = ZipName.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : ZipName.substr(0, slash + 1);
    const std::string name = ZipName.substr(folder.size());
    const std::string stem = folder + "." + name + "." + std::to_string(getpid()) + "-";
    for (int attempt = 0;; ++attempt) {
        const std::string candidate = stem + std::to_string(attempt) + ".tmp";
        const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            return candidate;
        }
        if (errno != EEXIST)
            RaiseZipWriteError(ZipName, errno);
    }
}

// The archiver's own steps: a new archive holding the one file.
void ArchiveOneFile(const std::string& Name, const std::string& Folder,
                    const std::string& ArchiveName)
{
    TZipArchiver archiver;
    archiver.SetFileName(ArchiveName);
    archiver.OpenArchive(ZAModeCreate);
    archiver.SetBaseDir(Folder);
    archiver.SetEncryptionMethod(caPkzipClassic);
    archiver.SetPassword("");
    archiver.AddFiles(Name, ZADefaultSearchAttr, "");
    // A file that vanished, or whose copy the user skipped or cancelled after
    // a failure, leaves an archive without it: that is no copy of the data.
    if (archiver.DirManager()->Items().Count() != 1)
        throw Exception("The data file \"" + Name + "\" could not be added to the zip archive");
    archiver.CloseArchive();
}

}  // namespace

TCheckMessages CheckSessionInfo(const std::string& Responsible, const std::string& Email,
                                const TRegion* Country)
{
    TCheckMessages messages;
    if (Trim(Responsible).empty())
        messages.Error("The person responsible for the data entry should be specified");
    if (Trim(Email).empty())
        messages.Error(
            "The email address of the person responsible for the data entry should be specified");
    if (!Country)
        messages.Error(SNoCountry);
    return messages;
}

std::string ProposedDataFileName(const std::string& CountryCode, const TDateTime& Today)
{
    return CountryCode + "_" + std::to_string(Today.Year) + "_" + std::to_string(Today.Month) +
           "_" + std::to_string(Today.Day) + ".wqd";
}

std::string ZipNameOf(const std::string& Name)
{
    return Name.substr(0, Name.size() - ExtractFileExt(Name).size()) + ".zip";
}

bool WriteZipCopy(const std::string& Name, const std::string& Folder, const std::string& ZipName)
{
    std::string temporary;
    try {
        temporary = CreateTemporaryBeside(ZipName);
        ArchiveOneFile(Name, Folder, temporary);
        if (std::rename(temporary.c_str(), ZipName.c_str()) != 0)
            RaiseZipWriteError(ZipName, errno);
        return true;
    } catch (const std::exception& error) {
        if (!temporary.empty())
            std::remove(temporary.c_str());
        Dialogs().MessageDlg(std::string("Exception: ") + error.what(), TMsgDlgType::mtError, mbOK);
        return false;
    }
}
