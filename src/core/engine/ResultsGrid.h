#pragma once

#include "Worksheet.h"
#include "common/Cp1252.h"

#include <string>

namespace camini {

struct CalcResult;

// Writes the solution into the results grid: conductivities and resistances
// with 5 decimals, temperatures and drops with 1, diameters with 0, each
// right-aligned in 8 characters. Cells the solver never fills are left alone;
// with `singleWall` the insulation row keeps only its name.
void writeResultsGrid(const CalcResult& result, bool singleWall, ResultsTable& grid);

// One row of the results grid as the report prints it: column 0 padded and
// cut to 29 characters plus 2 blanks, column 1 padded to 13, columns 2..7 to
// 10, a number longer than its column written as that many '*'; 104
// characters in all.
Cp1252 resultsTableLine(const std::array<Cp1252, ResultCols>& row);

} // namespace camini
