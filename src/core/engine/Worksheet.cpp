#include "Worksheet.h"

#include "common/Cp1252.h"
#include "materials/MaterialArchive.h"

namespace camini {

namespace {

constexpr auto tempHeading = joinText("T ", DegreesCelsius);

const std::array<const char*, ResultCols> headings = {
    "strato", "lambda", "Rcalc", tempHeading.c_str(), "salto", "T calc", "D1 mm", "D2 mm",
};

} // namespace

void clearResultsGrid(ResultsTable& grid) {
    for (auto& r : grid)
        for (auto& c : r)
            c.clear();
    for (std::size_t c = 0; c < ResultCols; ++c)
        grid[0][c] = headings[c];
    for (int r = 1; r < ResultRows; ++r)
        grid[static_cast<std::size_t>(r)][NameColumn] = resultRowName(r);
}

void setStartProject(Worksheet& sheet) {
    sheet.materials = startMaterials();
    for (const InputRowSpec& spec : inputRowTable)
        sheet.input(spec.row) = spec.startValue;
    sheet.graphMaterial = 1;
    sheet.squareSection = false;
    sheet.projectTitle = "esempio 1";
    sheet.materialListVisible = false;
    sheet.pictureVisible = true;
    clearResultsGrid(sheet.results);
    sheet.fireResistanceLines.clear();
}

void showMaterialChoices(Worksheet& sheet, const MaterialArchive& archive) {
    sheet.materialChoiceLines.clear();
    sheet.materialListVisible = false;
    for (const LayerSpec& layer : layerTable) {
        if (!layer.material)
            continue;
        sheet.materialChoiceLines.emplace_back(layer.choiceHeading);
        sheet.materialChoiceLines.push_back(archive.description(sheet.material(*layer.material)));
    }
}

} // namespace camini
