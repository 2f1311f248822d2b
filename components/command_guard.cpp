#include "components/command_guard.h"

#include "platform/dialogs.h"

void HandleException(const std::exception& error)
{
    ShowMessage(error.what(), TMsgDlgType::mtError);
}
