#include "appcore/save_as.h"

#include <sys/stat.h>

#include "appcore/form_texts.h"
#include "io/atomic_file.h"
#include "io/ozr_io_save.h"
#include "platform/dialogs.h"
#include "platform/exception.h"
#include "platform/sysutils.h"
#include "zip/archiver/ZipArchiver.h"
#include "zip/files/ZAPaths.h"

namespace {

bool Exists(const std::string& Path)
{
    struct stat info {};
    return lstat(Path.c_str(), &info) == 0;
}

std::string ReplacedEverywhere(std::string Text, const std::string& From, const std::string& To)
{
    if (From.empty())
        return Text;
    for (std::size_t at = Text.find(From); at != std::string::npos;
         at = Text.find(From, at + To.size()))
        Text.replace(at, From.size(), To);
    return Text;
}

// The archiver knows the archive by the temporary file's name; the user knows
// it as ZipName.
std::string ZipCopyFailure(const std::string& Message, const std::string& ContentName,
                           const std::string& ZipName, bool ZipExisted)
{
    return "Exception: " + ReplacedEverywhere(Message, ContentName, ZipName) +
           "\nThe zip archive \"" + ZipName + "\" was not " +
           (ZipExisted ? "updated." : "written.");
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
    // The data file's name is a name, never a mask: "GR_?.wqd" is one file.
    archiver.AddFile(Name, ZADefaultSearchAttr);
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
    const bool zipExisted = Exists(ZipName);
    std::string contentName;
    try {
        TAtomicFile archive(ZipName);
        contentName = archive.ContentName();
        ArchiveOneFile(Name, Folder, contentName);
        archive.Commit();
        return true;
    } catch (const std::exception& error) {
        Dialogs().MessageDlg(ZipCopyFailure(error.what(), contentName, ZipName, zipExisted),
                             TMsgDlgType::mtError, mbOK);
        return false;
    }
}

bool SaveDataFileAndZipCopy(const std::string& Name)
{
    // On a file system that ignores case "x.ZIP" and its copy "x.zip" are one file.
    if (AsciiLowerCase(ExtractFileExt(Name)) == ".zip") {
        Dialogs().MessageDlg("The data file cannot be saved as \"" + Name +
                                 "\": its zip copy would have the same name and replace it. "
                                 "Choose a name with another extension, such as \".wqd\".",
                             TMsgDlgType::mtError, mbOK);
        return false;
    }
    SaveDataFile(Name);
    return WriteZipCopy(Name, ExtractFilePath(Name), ZipNameOf(Name));
}
