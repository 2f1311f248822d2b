#pragma once

// The messages that several data forms share; "%s" is filled by FormatText.

inline constexpr const char* SNoDataEntered =
    "No data have been entered. You may want to check the data tab";
inline constexpr const char* SAltitudeRange =
    "A real number between -100 and 5000 is expected for Altitude";
inline constexpr const char* SLTAAStartingYear =
    "An integer number between 1900 and %s is expected for the LTAA starting year";
inline constexpr const char* SLTAAEndingYear =
    "An integer number between 1900 and %s is expected for the LTAA ending year";
inline constexpr const char* SLTAAPeriodTooShort =
    "The reported length period is too small to be representative for LTAA values. The LTAA "
    "reference period must be at least 10 years, preferably more than 20 years long";
inline constexpr const char* SLTAAPeriodShort =
    "The reported LTAA reference period should be at least 20 consecutive years long";
inline constexpr const char* SMinAboveMax =
    "Min. streamflow value should be lower or equal than Max. streamflow value";
inline constexpr const char* SMonthlySum =
    "The monthly values in table: %s and column: %s do not sum up to the annual value";
inline constexpr const char* SNoCountry = "A country has to be selected first";
inline constexpr const char* SDuplicateStation = "A station with ID '%s' already exists";
inline constexpr const char* SDuplicateReservoir = "A reservoir with ID '%s' already exists";

inline constexpr const char* SRealExpected = "A real number is expected for the field: %s";
inline constexpr const char* SPositiveRealExpected =
    "A positive real number is expected for the field: %s";
inline constexpr const char* SPositiveIntegerExpected =
    "A positive integer number is expected for the field: %s";
inline constexpr const char* SNoNetwork = "This station is neither a DUNMAR nor a WFD station";

// The reporting-year box holds text that is not a whole number.
inline constexpr const char* SYearNotInteger = "An integer number is expected for the Year";
// The stream-flow form's year box holds a whole number of other than four digits.
inline constexpr const char* SYearNotFourDigits = "A four-digit year is expected for the Year";
