#pragma once

// What the main window's Lists commands and a double-click on the overview's
// station columns open: the list of every station of one kind, and the overview
// cell that stands for a region's table form or for such a list.

#include <cstdint>
#include <string>

#include "model/ozr_types.h"

// The window caption of the list of stations of this kind.
const char* StationListCaption(TStationKind Kind);

enum class TOverviewTarget : std::uint8_t {
    None,
    WaterBalance,
    WaterAbstraction,
    WaterUse,
    StationList
};

struct TOverviewOpening {
    TOverviewTarget Target = TOverviewTarget::None;
    // The region of the row, for the three table forms.
    TRegion* Region = nullptr;
    // For a station list.
    TStationKind Kind = skWell;
};

// What the overview cell at (Col, Row) opens, its row showing the region code
// Code and the type word TypeWord: the table forms in columns 3 to 5, the
// station lists of wells, reservoirs, stream-flow stations and rain gauges in
// columns 6 to 9, on a region found by code and type (the first of that code).
// The titles, the first three columns, a region not found and the empty row of
// an overview without data open nothing; a type word that names no region type
// raises Exception.
TOverviewOpening OverviewCellOpening(int Col, int Row, const std::string& Code,
                                     const std::string& TypeWord);
