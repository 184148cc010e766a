#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace camini {

class MaterialArchive;

constexpr int InputRows = 12;
constexpr int ResultRows = 9;
constexpr int ResultCols = 8;

// Indexes of the four layer materials in Worksheet::materials.
enum MaterialLayer : int {
    InsulationLayer = 0,
    TechnicalGapLayer = 1,
    Screen1Layer = 2,
    Screen2Layer = 3
};

// What a choice in the material list is for.
enum class MaterialListMode : std::uint8_t {
    None = 0,
    Insulation = 1,
    TechnicalGap = 2,
    Screen1 = 3,
    Screen2 = 4,
    Graph = 5,
};

using ResultsTable = std::array<std::array<std::string, ResultCols>, ResultRows>;

// The main window's contents as data. Texts are CP1252.
struct Worksheet {
    // Column 1 of the input grid, rows 0..11, as typed.
    std::array<std::string, InputRows> inputTexts;
    std::string projectTitle;
    bool squareSection = false;      // "quadrata"
    bool singleWall = false;         // "Monoparete"
    bool raiseSmallDiameter = false; // "D>=200"
    // Material numbers of insulation, technical gap, screen 1, screen 2.
    std::array<std::uint8_t, 4> materials{5, 1, 1, 9};
    MaterialListMode listMode = MaterialListMode::None;
    std::uint8_t graphMaterial = 1;
    // The results grid, headings included.
    ResultsTable results;
    std::vector<std::string> memo1; // the two fire-resistance lines
    std::vector<std::string> memo2; // the chosen materials
    bool materialListVisible = false;
    bool pictureVisible = true;
    // Set by the calculate operation; the report needs a calculation first.
    bool calculated = false;
};

// Label of input row r (0..11), padded with blanks to its stored length.
const std::string& inputLabel(int row);

// Name of the wall row r (1..7) as the results grid shows it.
const std::string& rowName(int row);

// The start-up project: labels, start values, title "esempio 1", materials
// 5, 1, 1, 9, graph material 1, "quadrata" not ticked ("Monoparete" and
// "D>=200" are left alone), the results grid emptied to its headings,
// Memo1 empty.
void setStartProject(Worksheet& sheet);

// Empties the results grid to its headings.
void clearResultsGrid(ResultsTable& grid);

// Rewrites Memo2 with the four chosen materials and hides the material list.
void showMaterialChoices(Worksheet& sheet, const MaterialArchive& archive);

} // namespace camini
