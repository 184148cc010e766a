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
    grid[0][1] = "lamda";
    for (int r = 1; r <= 7; ++r) {
        auto& row = grid[static_cast<std::size_t>(r)];
        const std::size_t i = static_cast<std::size_t>(r - 1);
        if (r >= 2 && r <= 6) {
            put(row[1], c.conductivities[i - 1], 5);
            put(row[5], c.layerMeanTemps[i - 1], 1);
        }
        put(row[2], c.resistances[i], 5);
        put(row[3], c.boundaryTemps[i], 1);
        put(row[4], c.drops[i], 1);
        if (r >= 2)
            put(row[6], c.innerDiameters[i], 0);
        if (r <= 6)
            put(row[7], c.outerDiameters[i], 0);
    }
    put(grid[8][2], c.totalResistance, 5);
    put(grid[8][4], c.dropSum, 1);
    if (singleWall)
        for (std::size_t col = 1; col < ResultCols; ++col)
            grid[2][col].clear();
}

std::string resultsTableLine(const std::array<std::string, ResultCols>& row) {
    std::string line;
    line.reserve(104);
    padCut(line, row[0], 29);
    line += "  ";
    padCut(line, row[1], 13);
    for (std::size_t c = 2; c < ResultCols; ++c)
        padCut(line, row[c], 10);
    return line;
}

} // namespace camini
