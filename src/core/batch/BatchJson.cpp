#include "BatchJson.h"

#include "Units.h"
#include "common/Version.h"
#include "engine/ChimneyInput.h"
#include "engine/Worksheet.h"

#include <cmath>

namespace camini {

namespace {

// The input cells as typed and the numbers the reader takes from them,
// before the diameter rule.
Json inputsJson(const Worksheet& sheet) {
    Worksheet typed = sheet;
    typed.raiseSmallDiameter = false;
    const ChimneyInput read = readChimneyInput(typed);
    Json rows = Json::array();
    for (const InputRowSpec& spec : inputRowTable) {
        rows.push_back({{"row", static_cast<int>(spec.row)},
                        {"key", spec.key},
                        {"label", jsonText(spec.label)},
                        {"text", jsonText(sheet.input(spec.row))},
                        {"value", jsonNumber(read.value(spec.row))}});
    }
    return rows;
}

// Every line of a dumped text but the first, indented by `blanks` more.
std::string indented(const std::string& text, std::size_t blanks) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out += c;
        if (c == '\n')
            out.append(blanks, ' ');
    }
    return out;
}

} // namespace

Json fireRangeJson(FireRange range) {
    switch (range) {
    case FireRange::Above:
        return "above";
    case FireRange::Below:
        return "below";
    case FireRange::Inside:
        break;
    }
    return nullptr;
}

Json jsonNumber(double v) {
    return std::isfinite(v) ? Json(v) : Json(nullptr);
}

Json jsonText(std::string_view cp1252) {
    return toUtf8(cp1252);
}

Json documentHead(const Worksheet& sheet) {
    Json doc;
    doc["program"] = "camini-calc";
    doc["version"] = ProgramVersion;
    doc["formatVersion"] = JsonFormatVersion;
    doc["projectTitle"] = jsonText(sheet.projectTitle);
    doc["ticks"] = {{"squareSection", sheet.squareSection},
                    {"singleWall", sheet.singleWall},
                    {"raiseSmallDiameter", sheet.raiseSmallDiameter}};
    doc["inputs"] = inputsJson(sheet);
    return doc;
}

Json unitsJson(std::initializer_list<std::pair<const char*, const char*>> fields) {
    Json units;
    units["row"] = units::Count;
    Json byKey;
    for (const InputRowSpec& spec : inputRowTable)
        byKey[spec.key] = toUtf8(inputUnit(spec.row));
    units["value"] = byKey;
    for (const auto& [field, unit] : fields)
        units[field] = toUtf8(unit);
    return units;
}

JsonArrayStream::JsonArrayStream(const Json& head, const char* arrayName,
                                 const ContentWriter& write)
    : write_(write) {
    // "{...\n}": the members, then the array in place of the closing brace.
    std::string text = head.empty() ? std::string("{") : head.dump(2);
    if (!head.empty())
        text.resize(text.size() - 2);
    write_(text + (head.empty() ? "\n  \"" : ",\n  \"") + arrayName + "\": [");
}

void JsonArrayStream::item(const Json& value) {
    write_((empty_ ? "\n    " : ",\n    ") + indented(value.dump(2), 4));
    empty_ = false;
}

void JsonArrayStream::finish() {
    write_(empty_ ? "]\n}\n" : "\n  ]\n}\n");
}

} // namespace camini
