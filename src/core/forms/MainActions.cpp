#include "MainActions.h"

#include "common/Cp1252.h"
#include "common/FileError.h"
#include "common/FixedPoint.h"
#include "common/Messages.h"
#include "engine/Session.h"

namespace camini {

std::string fileErrorText(const std::exception& e) {
    return fromUtf8(e.what());
}

void startUp(Session& session, Messages& messages) {
    try {
        session.archive.load();
    } catch (const FileError& e) {
        messages.error(fileErrorText(e));
    }
    setStartProject(session.sheet);
    session.viewer.clear();
    try {
        session.sizes.load();
    } catch (const FileError& e) {
        messages.error(fileErrorText(e));
    }
    session.sheet.memo1.clear();
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
    const SizeEntry& e = sizes.entry(entry);
    sheet.inputTexts[2] = formatFixed(e.innerDiameter, 3, 0);
    std::string thickness = formatFixed((e.outerDiameter - e.innerDiameter) / 2, 2, 0);
    if (sheet.singleWall) {
        thickness = "0";
        sheet.inputTexts[8] = "0";
    }
    sheet.inputTexts[5] = thickness;
    sheet.materials[InsulationLayer] = 1;
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

bool chooseMaterial(Worksheet& sheet, const MaterialArchive& archive, int position) {
    if (position < 0 || position >= MaxMaterials)
        return false;
    const auto m = static_cast<std::uint8_t>(position + 1);
    switch (sheet.listMode) {
    case MaterialListMode::Insulation:
        sheet.materials[InsulationLayer] = m;
        break;
    case MaterialListMode::TechnicalGap:
        sheet.materials[TechnicalGapLayer] = m;
        break;
    case MaterialListMode::Screen1:
        sheet.materials[Screen1Layer] = m;
        break;
    case MaterialListMode::Screen2:
        sheet.materials[Screen2Layer] = m;
        break;
    default:
        break;
    }
    sheet.materialListVisible = false;
    sheet.pictureVisible = true;
    if (sheet.listMode == MaterialListMode::Graph) {
        sheet.graphMaterial = m;
        return true;
    }
    showMaterialChoices(sheet, archive);
    return false;
}

void singleWallClicked(Worksheet& sheet, bool ticked) {
    if (ticked)
        sheet.inputTexts[5] = "0";
}

} // namespace camini
