#include "app/help_service.h"

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
