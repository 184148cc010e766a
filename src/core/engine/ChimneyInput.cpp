#include "ChimneyInput.h"

#include "Worksheet.h"
#include "common/NumberReader.h"

namespace camini {

ChimneyInput readChimneyInput(const Worksheet& sheet) {
    ChimneyInput in;
    in.projectTitle = sheet.projectTitle;
    for (const InputRowSpec& spec : inputRowTable)
        in.*spec.field = readNumberLenient(sheet.input(spec.row));
    in.squareSection = sheet.squareSection;
    in.singleWall = sheet.singleWall;
    in.raiseSmallDiameter = sheet.raiseSmallDiameter;
    in.innerDiameter = diameterUsed(in.innerDiameter, in.raiseSmallDiameter);
    for (const LayerSpec& layer : layerTable)
        if (layer.material)
            in.*layer.inputMaterial = sheet.material(*layer.material);
    return in;
}

std::vector<std::string> inputReadingWarnings(const Worksheet& sheet) {
    std::vector<std::string> lines;
    for (const InputRowSpec& spec : inputRowTable) {
        const std::string& text = sheet.input(spec.row);
        std::string_view typed = text;
        while (!typed.empty() && (typed.back() == ' ' || typed.back() == '\t'))
            typed.remove_suffix(1);
        if (typed.find_first_not_of(" \t") == std::string_view::npos || readNumberStrict(typed))
            continue;
        const std::string_view read = numberPrefix(typed);
        std::string line = "il valore \"" + text + "\" di \"" + spec.label + "\" \xE8 letto come ";
        line += read.empty() ? std::string_view("0") : read;
        if (text.find(',') != std::string::npos)
            line += " (usare il punto come separatore decimale)";
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace camini
