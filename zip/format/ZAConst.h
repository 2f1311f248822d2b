#pragma once

// The archiver's texts: the message of every error code and the prompts it
// shows, plus the one formatting routine that fills in their arguments.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

// One argument of a "%s" or "%d" in a text.
using TZAFormatArg = std::variant<std::string, std::int64_t>;

// Number of error codes (0 to ZAErrorCodeCount - 1) and of message texts.
inline constexpr int ZAErrorCodeCount = 63;
inline constexpr int ZAMessageCount = 38;

// Index of the message text of an error code; 0 ("Unknown error") for a code
// outside the table.
int ZAMessageIndexOf(int errorCode);

// The message text at an index; an index outside the table gives the text of 0.
std::string_view ZAMessageText(int messageIndex);

// Replaces each "%s" and "%d" of the text with the next argument and "%%" with
// "%". A specifier without an argument left stays as written, so a text raised
// without arguments keeps its "%s".
std::string ZAFormat(std::string_view text, std::initializer_list<TZAFormatArg> args);

// The prompts the archiver shows when no event handler answers for it.
inline constexpr std::string_view SZAConfirmOverwrite = "Overwrite file \"%s\" with \"%s\"";
inline constexpr std::string_view SZAPasswordCaption = "Password for \"%s\"";
inline constexpr std::string_view SZAPasswordPrompt = "Enter password: ";
inline constexpr std::string_view SZARequestBlankDisk = "Please insert a blank disk #%d";
inline constexpr std::string_view SZARequestFirstDisk = "Please insert the first disk";
inline constexpr std::string_view SZARequestLastDisk = "Please insert the last disk";
inline constexpr std::string_view SZARequestMiddleDisk = "Please insert disk #%d";
inline constexpr std::string_view SZADiskFull =
    "Disk is full. Required free space: %d bytes, but available only: %d bytes. Clean the disk "
    "or find another blank disk";
inline constexpr std::string_view SZAProcessFileFailure =
    "%s. File processing error, possibly disk is full";
inline constexpr std::string_view SZALastDiskFileMissing =
    "File '%s' not found on inserted disk. Please insert last disk with required file";
