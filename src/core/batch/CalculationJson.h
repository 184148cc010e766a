#pragma once

#include "common/Cp1252.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace camini {

struct Session;

// The calculation on the session as one JSON document (docs/calcolo.schema.json):
// the program's version, the input cells as typed and as read, the ticks, the
// seven rows of the wall (the two surface films and the five layers) with
// their materials, thicknesses, conductivities, resistances, drops and
// temperatures, the total resistance, the heat flux through the inner
// surface and per metre of chimney, both fire-resistance searches, the layer
// checks of the four material layers (as the report runs them) and
// `messages`, what the calculation said to the user. Texts are UTF-8,
// numbers as calculated. The session must hold a calculation.
nlohmann::ordered_json calculationJson(const Session& session, const std::vector<Cp1252>& messages);

} // namespace camini
