#include "Worksheet.h"

#include "materials/MaterialArchive.h"

namespace camini {

namespace {

std::string padded(std::string s, std::size_t length) {
    if (s.size() < length)
        s.append(length - s.size(), ' ');
    return s;
}

const std::array<std::string, InputRows>& labels() {
    static const std::array<std::string, InputRows> l = {
        padded("temperatura fumi[\xB0"
               "C]",
               34),
        padded("temperatura ambiente[\xB0"
               "C]",
               34),
        padded("diametro interno [mm]", 34),
        padded("coefficiente liminare interno[\xB0"
               "C]",
               34),
        padded("coefficiente liminare esterno[\xB0"
               "C]",
               34),
        padded("spessore isolante[mm]", 34),
        padded("spessore camera d aria[mm]", 34),
        padded("spessore asola tecnica [mm]", 38),
        padded("spessore schermo 1 [mm]", 34),
        padded("spessore schermo 2 [mm]", 28),
        padded("T imposta interna asola tecnica [\xB0"
               "C]",
               39),
        padded("T imposta esterna  [\xB0"
               "C]",
               33),
    };
    return l;
}

const std::array<const char*, InputRows> startValues = {
    "250", "20", "130", "15", "8", "40", "20", "20", "20", "10", "100", "85",
};

const std::array<const char*, ResultCols> headings = {
    "strato",
    "lambda",
    "Rcalc",
    "T \xB0"
    "C",
    "salto",
    "T calc",
    "D1 mm",
    "D2 mm",
};

const std::array<std::string, 8> rowNames = {
    "",
    "strato liminare interno",
    "isolante",
    "camera d aria",
    "asola tecnica",
    "schermo 1",
    "schermo 2",
    "strato liminare esterno",
};

} // namespace

const std::string& inputLabel(int row) {
    static const std::string none;
    return (row >= 0 && row < InputRows) ? labels()[static_cast<std::size_t>(row)] : none;
}

const std::string& rowName(int row) {
    static const std::string none;
    return (row >= 1 && row <= 7) ? rowNames[static_cast<std::size_t>(row)] : none;
}

void clearResultsGrid(ResultsTable& grid) {
    for (auto& r : grid)
        for (auto& c : r)
            c.clear();
    for (int c = 0; c < ResultCols; ++c)
        grid[0][static_cast<std::size_t>(c)] = headings[static_cast<std::size_t>(c)];
    for (int r = 1; r <= 7; ++r)
        grid[static_cast<std::size_t>(r)][0] = rowName(r);
    grid[8][0] = "R totale";
}

void setStartProject(Worksheet& sheet) {
    sheet.materials = {5, 1, 1, 9};
    for (int r = 0; r < InputRows; ++r)
        sheet.inputTexts[static_cast<std::size_t>(r)] = startValues[static_cast<std::size_t>(r)];
    sheet.graphMaterial = 1;
    sheet.squareSection = false;
    sheet.projectTitle = "esempio 1";
    sheet.materialListVisible = false;
    sheet.pictureVisible = true;
    clearResultsGrid(sheet.results);
    sheet.memo1.clear();
}

void showMaterialChoices(Worksheet& sheet, const MaterialArchive& archive) {
    sheet.memo2.clear();
    sheet.materialListVisible = false;
    static const std::array<const char*, 4> heads = {"-->Isolante", "-->asola tecnica",
                                                     "-->schermo 1", "-->schermo 2"};
    for (std::size_t i = 0; i < heads.size(); ++i) {
        sheet.memo2.emplace_back(heads[i]);
        sheet.memo2.push_back(archive.description(sheet.materials[i]));
    }
}

} // namespace camini
