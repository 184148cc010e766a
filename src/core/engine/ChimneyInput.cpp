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

} // namespace camini
