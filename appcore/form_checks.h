#pragma once

// The checks that the station and table forms share, on the texts of their
// controls. A check adds at most one message and never raises; every number is
// read with the user's decimal separator and must convert as a whole text.

#include <optional>
#include <span>
#include <string>

#include "appcore/check_messages.h"
#include "model/ozr_types.h"

// The reporting-year box's text as a whole number, if it is one.
std::optional<int> ReportingYear(const std::string& yearText);
// An error when the year box's text is not a whole number.
void CheckReportingYear(const std::string& yearText, TCheckMessages& messages);

// The year of a year box's text when it is a whole year of four digits. The
// stream-flow form's daily grid follows only such a year: the user typing a
// year passes through "2", "20" and "200" first.
std::optional<int> FourDigitYear(const std::string& yearText);
// An error when the year box holds a whole number that is no four-digit year,
// which the daily grid would not show.
void CheckFourDigitYear(const std::string& yearText, TCheckMessages& messages);

// The trimmed identifier is empty: the form's own text as an error.
void CheckIdentifierGiven(const std::string& id, const char* missingText, TCheckMessages& messages);
// Another station of the kind has this identifier, ignoring the case of A to Z.
void CheckIdentifierUnique(const std::string& id, TStationKind kind, const TEntity* edited,
                           TCheckMessages& messages);

// The text as typed, blank included, must be a real number.
void CheckCoordinate(const std::string& text, const std::string& fieldName,
                     TCheckMessages& messages);
// A blank altitude passes; otherwise -100 to 5000, both ends included.
void CheckAltitude(const std::string& text, TCheckMessages& messages);

enum class TNumberKind { Real, NonNegativeReal, PositiveReal, NonNegativeInteger };
// A blank field passes; otherwise its trimmed text must be a number of the kind.
// Non-negative reals allow -1e-10 of rounding below zero; positive reals need
// at least 1e-10.
void CheckNumberField(const std::string& text, TNumberKind kind, const std::string& fieldName,
                      TCheckMessages& messages);
bool IsNumberOfKind(const std::string& text, TNumberKind kind);

// The LTAA years each lie in 1900 to the reporting year, and the period they
// span is at least 10 years (an error) and preferably 20 (a warning). Without a
// whole reporting year, only the lower bound of the years is checked.
void CheckLTAAPeriod(const std::string& fromText, const std::string& toText,
                     const std::string& yearText, TCheckMessages& messages);

// A warning when no data cell of the form holds anything.
void CheckDataEntered(bool anyData, TCheckMessages& messages);

// False only when the twelve months and the annual value (13 texts) all
// convert and the months add up to more than 1e-6 away from the annual value.
bool MonthlySumMatches(std::span<const std::string> monthsAndAnnual);
void CheckMonthlySum(std::span<const std::string> monthsAndAnnual, const std::string& tableTitle,
                     const std::string& columnTitle, TCheckMessages& messages);

// An error when both convert and the minimum is above the maximum.
void CheckMinNotAboveMax(const std::string& minText, const std::string& maxText,
                         TCheckMessages& messages);
// A warning when the station belongs to neither network.
void CheckNetworkMembership(bool dunmar, bool wfd, TCheckMessages& messages);
