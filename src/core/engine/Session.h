#pragma once

#include "ChimneyInput.h"
#include "ViewerDocument.h"
#include "WallSolver.h"
#include "Worksheet.h"
#include "materials/MaterialArchive.h"
#include "materials/SizeCatalogue.h"

#include <string>

namespace camini {

// What the application owns for the whole run, apart from the plot state:
// the archive, the size catalogue, the worksheet (the main window's contents),
// the solver with its persistent state and last result, the inputs as last
// read and the viewer document.
struct Session {
    MaterialArchive archive;
    SizeCatalogue sizes;
    Worksheet sheet;
    WallSolver solver;
    ChimneyInput input;
    ViewerDocument viewer;
    // The folder of the data files: the archive, the size catalogue, the
    // section pictures and the manual page.
    std::string dataFolder;

    // Binds the archive and the catalogue to their files in `dataFolder`.
    explicit Session(const std::string& dataFolder = {});
};

} // namespace camini
