#pragma once

#include "WallTable.h"
#include "common/Cp1252.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace camini {

class MaterialArchive;

constexpr int ResultRows = TotalRow + 1;
constexpr int ResultCols = 8;

// The columns of the results grid.
enum ResultColumn : std::size_t {
    NameColumn = 0,    // "strato": the row names
    LambdaColumn,      // "lamda": conductivity, or the air gap's unit resistance
    ResistanceColumn,  // "Rcalc"
    TemperatureColumn, // "T °C": the temperature after the row
    DropColumn,        // "salto"
    MeanColumn,        // "T calc": the layer's mean temperature
    InnerDiameterColumn,
    OuterDiameterColumn,
};

using ResultsTable = std::array<std::array<Cp1252, ResultCols>, ResultRows>;

// The main window's contents as data. Texts are CP1252.
struct Worksheet {
    // Column 1 of the input grid, as typed.
    std::array<Cp1252, InputRows> inputTexts;
    Cp1252 projectTitle;
    bool squareSection = false;      // "quadrata"
    bool singleWall = false;         // "Monoparete"
    bool raiseSmallDiameter = false; // "D>=200"
    // Material numbers of insulation, technical gap, screen 1, screen 2.
    std::array<std::uint8_t, MaterialSlots> materials = startMaterials();
    MaterialListMode listMode = MaterialListMode::None;
    std::uint8_t graphMaterial = 1;
    // The results grid, headings included.
    ResultsTable results;
    std::vector<Cp1252> fireResistanceLines; // Memo1: the "(est)" and "(int)" lines
    std::vector<Cp1252> materialChoiceLines; // Memo2: the chosen materials
    bool materialListVisible = false;
    bool pictureVisible = true;
    // Set by the calculate operation; the report needs a calculation first.
    bool calculated = false;

    Cp1252& input(InputRow row) { return inputTexts[index(row)]; }
    const Cp1252& input(InputRow row) const { return inputTexts[index(row)]; }
    std::uint8_t& material(MaterialSlot slot) { return materials[index(slot)]; }
    std::uint8_t material(MaterialSlot slot) const { return materials[index(slot)]; }
};

// The start-up project: labels, start values, title "esempio 1", materials
// 5, 1, 1, 9, graph material 1, "quadrata" not ticked ("Monoparete" and
// "D>=200" are left alone), the results grid emptied to its headings,
// Memo1 empty.
void setStartProject(Worksheet& sheet);

// Empties the results grid to its headings and row names.
void clearResultsGrid(ResultsTable& grid);

// Rewrites Memo2 with the four chosen materials and hides the material list.
void showMaterialChoices(Worksheet& sheet, const MaterialArchive& archive);

} // namespace camini
