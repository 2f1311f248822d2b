#pragma once

// The upper- and lower-case forms of the 256 characters of the ANSI code page
// (Windows-1252) in the user's locale, for comparing names the way the user
// reads them. A character whose case form lies outside the code page keeps
// its own code.

#include <array>
#include <cstdint>

using TZACaseTable = std::array<std::uint8_t, 256>;

struct TZACaseTables {
    TZACaseTable Upper;
    TZACaseTable Lower;
};

// Built once, from the locale the user's environment names.
const TZACaseTables& ZACaseTables();

// The tables of a named locale ("" for the user's); the identity maps when
// the locale is not installed.
TZACaseTables BuildCaseTables(const char* localeName);
