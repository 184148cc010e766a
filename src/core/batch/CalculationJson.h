#pragma once

#include "BatchJson.h"
#include "common/Cp1252.h"

#include <string>
#include <vector>

namespace camini {

struct Session;

// The calculation on the session as one JSON document (docs/calcolo.schema.json):
// the document's head (the program, its version, the format's version, the
// title, the ticks, the input cells as typed and as read), the unit of
// every number field, the seven rows of the wall (the two surface films and
// the five layers) with their materials, thicknesses, conductivities,
// resistances, drops and temperatures, the total resistance, the heat flux
// through the inner surface and per metre of chimney, both fire-resistance
// searches, the layer checks of the four material layers (as the report
// runs them) and `messages`, what the calculation said to the user. Texts
// are UTF-8, numbers as calculated. The session must hold a calculation.
Json calculationJson(const Session& session, const std::vector<Cp1252>& messages);

// The document of a calculation that stopped: the head, the units,
// `messages` and `stopped`, the stop's message, in place of the results.
Json stoppedCalculationJson(const Session& session, const std::vector<Cp1252>& messages,
                            Cp1252View stopped);

} // namespace camini
