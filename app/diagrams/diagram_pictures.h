#pragma once

// The pictures of the six diagram windows: how the quantities of a national
// table break down into the parts that the table forms ask for.

#include "app/diagrams/box_diagram.h"

// Total freshwater abstraction by source, with its rainwater and hydropower shares.
TBoxDiagram TotalAbstractionPicture();
// Abstraction by provider, public water supply by source.
TBoxDiagram PublicSupplyPicture();
// Abstraction by provider, self-supply by source.
TBoxDiagram SelfSupplyPicture();
// Self-supply from surface water by sector.
TBoxDiagram SurfaceWaterSectorsPicture();
// Self-supply from groundwater by sector.
TBoxDiagram GroundwaterSectorsPicture();
// Return flow before and after use, and the losses between use and reuse.
TBoxDiagram ReturnFlowPicture();
