#pragma once

#include "common/Cp1252.h"
#include "common/SafeReplace.h"
#include "engine/WallTable.h"

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <string>
#include <utility>

namespace camini {

struct Worksheet;

using Json = nlohmann::ordered_json;

// The version of the documents' format: it grows when a field changes its
// meaning or goes away, not when one is added.
constexpr int JsonFormatVersion = 2;

// A number, or null for one that is not finite (JSON has no such numbers).
Json jsonNumber(double v);

// Where a fire-resistance search ended: "above" or "below" its bracket when
// it ran into that end without meeting its limit, null inside it.
Json fireRangeJson(FireRange range);

// A CP1252 text as a JSON string (UTF-8).
Json jsonText(Cp1252View cp1252);

// The beginning every document of the batch calculator shares: `program`,
// `version`, `formatVersion`, `projectTitle`, `ticks` and `inputs`, the
// twelve input cells as typed and as read (before the diameter rule).
Json documentHead(const Worksheet& sheet);

// The `units` object: the unit of each named number field (CP1252 units,
// written as UTF-8), and under `value` the unit of each input row's number
// by the row's key (the inputs' values, and a sweep's values, by their key).
Json unitsJson(std::initializer_list<std::pair<const char*, const char*>> fields);

// A JSON document written in pieces: an object whose members are those of
// `head`, followed by one array, `arrayName`, whose items are written one at
// a time, as they come. The text is laid out as dump(2) lays out the whole.
class JsonArrayStream {
public:
    JsonArrayStream(const Json& head, const char* arrayName, const ContentWriter& write);
    void item(const Json& value);
    // Closes the array and the document.
    void finish();

private:
    const ContentWriter& write_;
    bool empty_ = true;
};

} // namespace camini
