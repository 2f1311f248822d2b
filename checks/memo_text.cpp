#include "checks/memo_text.h"

std::string RemarksOfMemo(const std::string& memoText)
{
    std::string remarks;
    std::string line;
    for (char c : memoText) {
        if (c == '\r')
            continue;
        if (c == '\n') {
            remarks += line + "\r\n";
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        remarks += line + "\r\n";
    return remarks;
}

std::string MemoTextOfRemarks(const std::string& remarks)
{
    std::string text;
    for (char c : remarks)
        if (c != '\r')
            text += c;
    return text;
}
