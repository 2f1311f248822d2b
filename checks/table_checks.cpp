#include "checks/table_checks.h"

#include "checks/form_checks.h"
#include "platform/sysutils.h"

void CheckNonNegativeCell(const std::string& text, const char* message,
                          const std::string& tableName, TCheckMessages& messages)
{
    const std::string trimmed = Trim(text);
    if (!trimmed.empty() && !IsNumberOfKind(trimmed, TNumberKind::NonNegativeReal))
        messages.Error(FormatText(message, {tableName}));
}

std::string RemarksOfMemo(std::string_view memoText)
{
    std::string remarks;
    while (!memoText.empty()) {
        const std::size_t end = memoText.find('\n');
        remarks.append(memoText.substr(0, end));
        remarks.append("\r\n");
        memoText.remove_prefix(end == std::string_view::npos ? memoText.size() : end + 1);
    }
    return remarks;
}

std::string MemoTextOfRemarks(std::string_view remarks)
{
    std::string text;
    text.reserve(remarks.size());
    for (std::size_t i = 0; i < remarks.size(); ++i) {
        if (remarks[i] == '\r') {
            text += '\n';
            if (i + 1 < remarks.size() && remarks[i + 1] == '\n')
                ++i;
        } else {
            text += remarks[i];
        }
    }
    return text;
}
