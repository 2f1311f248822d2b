#pragma once

// How the data forms show stored values in their boxes and grid cells, and
// store the boxes' texts back: a missing value (-9999) is a blank box and a
// blank box stores the missing value.

#include <string>

// The value in the general format with the user's decimal separator when it
// is above the missing value; blank otherwise.
std::string RealText(double value);
// The same for grids that show only values of at least 0.
std::string NonNegativeRealText(double value);
std::string IntegerText(int value);

// The missing value for a blank text, otherwise the trimmed text converted;
// only texts that the checks accepted reach these.
double StoredReal(const std::string& text);
int StoredInteger(const std::string& text);

// How remarks store the lines of their memo: the main window and the station
// forms put CR LF between lines, as the memo's text stands; the table forms
// end every line, the last one included, with CR LF.
enum class TLineEnds { Between, AfterEvery };

// The memo shows remarks with plain line breaks; remarks stored after every
// line show no break after a last line that is not empty. Either way, remarks
// stored again come back as they were.
std::string StoredRemarks(const std::string& memoText, TLineEnds ends);
std::string ShownRemarks(const std::string& remarks, TLineEnds ends);
