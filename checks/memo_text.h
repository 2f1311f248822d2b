#pragma once

// Remarks are stored as lines each ended by CR LF, the way a memo's lines give
// them back; the memo shows them as plain lines.

#include <string>

// The memo's plain text as stored remarks: every line, the last one included,
// ended by CR LF; an empty memo stores an empty text.
std::string RemarksOfMemo(const std::string& memoText);
// Stored remarks as the memo's plain text, the line ends as "\n"; remarks
// that came from a memo come back the same when the memo is stored again.
std::string MemoTextOfRemarks(const std::string& remarks);
