#pragma once

// What the national-table forms share below their widgets: the number check
// of one grid cell and the remarks as the memo holds them.

#include <string>
#include <string_view>

#include "checks/check_messages.h"

// A blank cell passes; otherwise its trimmed text must be a real of at least
// -1e-10 (so zero and rounding noise below it pass), else an error with the
// table's name in place of the message's "%s".
void CheckNonNegativeCell(const std::string& text, const char* message,
                          const std::string& tableName, TCheckMessages& messages);

// The memo's text as remarks: every line, the last one included, ends with
// CR LF, and an empty memo gives no text. A line end after the last line
// starts no further line, so loaded remarks come back unchanged.
std::string RemarksOfMemo(std::string_view memoText);
// The remarks as the memo's text, with its LF line ends.
std::string MemoTextOfRemarks(std::string_view remarks);
