#include "app/help_viewer/help_service.h"

#include "platform/exception.h"

THelpViewer*& InstalledHelpViewer()
{
    static THelpViewer* installed = nullptr;
    return installed;
}

void ShowHelp(int context)
{
    THelpViewer* viewer = InstalledHelpViewer();
    if (viewer == nullptr)
        throw Exception("No help viewer is available");
    viewer->ShowTopic(context);
}

namespace {

std::string& HelpFileSlot()
{
    static std::string fileName;
    return fileName;
}

}  // namespace

const std::string& HelpFile()
{
    return HelpFileSlot();
}

void SetHelpFile(const std::string& fileName)
{
    HelpFileSlot() = fileName;
}
