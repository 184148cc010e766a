#include "MainActions.h"

#include "ProjectFile.h"
#include "common/FileError.h"
#include "common/FixedPoint.h"
#include "common/Messages.h"
#include "engine/Session.h"
#include "materials/MaterialArchive.h"

namespace camini {

void startUp(Session& session, Messages& messages, const StartUpPolicy& policy) {
    auto load = [&](auto& file) {
        try {
            file.load();
        } catch (const FileError& e) {
            if (!policy.goOnAfterFailure)
                throw;
            messages.error(fileErrorText(e));
        }
    };
    load(session.archive);
    // Numbers of the archive that were not read as written, in one message.
    if (const Cp1252 misread = joinWarnings(session.archive.misreadNumbers()); !misread.empty())
        messages.message(misread);
    setStartProject(session.sheet);
    session.savedProject = projectLines(session.sheet);
    session.viewer.clear();
    if (policy.readSizeCatalogue)
        load(session.sizes);
    session.sheet.fireResistanceLines.clear();
    showMaterialChoices(session.sheet, session.archive);
    session.sheet.listMode = MaterialListMode::None;
}

std::vector<std::string> sizeListItems(const SizeCatalogue& sizes) {
    std::vector<std::string> items;
    for (int i = 1; i <= SizeCount; ++i)
        items.push_back(formatFixed(sizes.entry(i).innerDiameter, 3, 0));
    return items;
}

void clearInputsAndResults(Worksheet& sheet) {
    for (auto& t : sheet.inputTexts)
        t.clear();
    for (std::size_t r = 1; r < ResultRows; ++r)
        for (std::size_t c = 1; c < ResultCols; ++c)
            sheet.results[r][c].clear();
}

void chooseStandardSize(Worksheet& sheet, const SizeCatalogue& sizes,
                        const MaterialArchive& archive, int entry) {
    sheet.input(InputRow::InnerDiameter) = formatFixed(sizes.entry(entry).innerDiameter, 3, 0);
    std::string thickness = formatFixed(sizes.insulationThickness(entry), 2, 0);
    if (sheet.singleWall) {
        thickness = "0";
        sheet.input(InputRow::Screen1Thickness) = "0";
    }
    sheet.input(InputRow::InsulationThickness) = thickness;
    sheet.material(MaterialSlot::Insulation) = 1;
    showMaterialChoices(sheet, archive);
}

std::vector<std::string> openMaterialList(Worksheet& sheet, const MaterialArchive& archive,
                                          MaterialListMode mode) {
    std::vector<std::string> items;
    items.reserve(MaxMaterials);
    for (int m = 1; m <= MaxMaterials; ++m)
        items.push_back(archive.description(m));
    sheet.materialListVisible = true;
    sheet.pictureVisible = false;
    sheet.listMode = mode;
    return items;
}

void closeMaterialList(Worksheet& sheet) {
    sheet.materialListVisible = false;
    sheet.pictureVisible = true;
}

bool chooseMaterial(Worksheet& sheet, const MaterialArchive& archive, int position) {
    if (position < 0 || position >= MaxMaterials)
        return false;
    const auto m = static_cast<std::uint8_t>(position + 1);
    if (const LayerSpec* layer = layerFor(sheet.listMode); layer && layer->material)
        sheet.material(*layer->material) = m;
    sheet.materialListVisible = false;
    sheet.pictureVisible = true;
    if (sheet.listMode == MaterialListMode::Graph) {
        chooseGraphMaterial(sheet, archive, m);
        return true;
    }
    showMaterialChoices(sheet, archive);
    return false;
}

void chooseGraphMaterial(Worksheet& sheet, const MaterialArchive& archive, int m) {
    sheet.graphMaterial = static_cast<std::uint8_t>(m);
    if (archive.hasTemperatureRange(m))
        sheet.material(MaterialSlot::Insulation) = static_cast<std::uint8_t>(m);
}

void singleWallClicked(Worksheet& sheet, bool ticked) {
    if (ticked)
        sheet.input(InputRow::InsulationThickness) = "0";
}

} // namespace camini
