#include "ResultsGrid.h"

#include "WallSolver.h"
#include "common/FixedPoint.h"

namespace camini {

namespace {

void put(std::string& cell, double v, int decimals) {
    cell.clear();
    appendFixed(cell, v, 8, decimals);
}

void padCut(std::string& out, const std::string& text, std::size_t width) {
    if (text.size() >= width) {
        out.append(text, 0, width);
    } else {
        out += text;
        out.append(width - text.size(), ' ');
    }
}

} // namespace

void writeResultsGrid(const CalcResult& c, bool singleWall, ResultsTable& grid) {
    grid[0][LambdaColumn] = "lamda";
    for (int r = InnerFilmRow; r <= OuterFilmRow; ++r) {
        auto& row = grid[static_cast<std::size_t>(r)];
        const std::size_t i = wallIndex(r);
        put(row[ResistanceColumn], c.resistances[i], 5);
        put(row[TemperatureColumn], c.boundaryTemps[i], 1);
        put(row[DropColumn], c.drops[i], 1);
        if (r > InnerFilmRow)
            put(row[InnerDiameterColumn], c.innerDiameters[i], 0);
        if (r < OuterFilmRow)
            put(row[OuterDiameterColumn], c.outerDiameters[i], 0);
    }
    for (const LayerSpec& layer : layerTable) {
        auto& row = grid[static_cast<std::size_t>(layer.wallRow)];
        put(row[LambdaColumn],
            layer.material ? c.conductivities[index(*layer.material)] : c.airGapUnitResistance, 5);
        put(row[MeanColumn], c.layerMeanTemps[layer.meanIndex()], 1);
    }
    put(grid[TotalRow][ResistanceColumn], c.totalResistance, 5);
    put(grid[TotalRow][DropColumn], c.dropSum, 1);
    if (singleWall) {
        auto& insulation =
            grid[static_cast<std::size_t>(layerOf(MaterialSlot::Insulation).wallRow)];
        for (std::size_t col = LambdaColumn; col < ResultCols; ++col)
            insulation[col].clear();
    }
}

std::string resultsTableLine(const std::array<std::string, ResultCols>& row) {
    std::string line;
    line.reserve(104);
    // Names are cut to their column; a number too long for its column is
    // shown as stars, never as its first digits (the headings all fit).
    padCut(line, row[0], 29);
    line += "  ";
    padCut(line, fitOrStars(row[1], 13), 13);
    for (std::size_t c = 2; c < ResultCols; ++c)
        padCut(line, fitOrStars(row[c], 10), 10);
    return line;
}

} // namespace camini
