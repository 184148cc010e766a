#pragma once

#include "ChimneyInput.h"
#include "ViewerDocument.h"
#include "WallSolver.h"
#include "Worksheet.h"
#include "common/Cp1252.h"
#include "common/DataPlaces.h"
#include "materials/MaterialArchive.h"
#include "materials/SizeCatalogue.h"

#include <optional>
#include <string>
#include <vector>

namespace camini {

// What a calculation is made from: the worksheet's title, cells, ticks and
// materials, and the archive's materials. Results are current while these
// stay as they were when "Calcola" ran.
struct CalculationBasis {
    Cp1252 projectTitle;
    std::array<Cp1252, InputRows> inputTexts;
    bool squareSection = false;
    bool singleWall = false;
    bool raiseSmallDiameter = false;
    std::array<std::uint8_t, MaterialSlots> materials{};
    std::array<Material, MaxMaterials> archive;

    friend bool operator==(const CalculationBasis&, const CalculationBasis&) = default;
};

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
    // The folder of the data files other than the archive: the size
    // catalogue, the section pictures and the manual page.
    PathBytes dataFolder;
    // The folder the project dialogs open in.
    PathBytes projectFolder;
    // What the results on the worksheet were calculated from: nothing before
    // the first calculation and after one that stopped.
    std::optional<CalculationBasis> calculatedFrom;
    // The project as last loaded or saved (the start project before either),
    // as the project file's lines: what "salvare il progetto?" compares with.
    std::vector<Cp1252> savedProject;
    // The project file last loaded or saved: none before either.
    PathBytes projectPath;

    // Binds the archive and the catalogue to their files in `folder`,
    // where the archive is saved too.
    explicit Session(const PathBytes& folder = {});
    // Binds the archive, the catalogue and the other data files to their places.
    explicit Session(const DataPlaces& places);
};

// The basis of a calculation made now.
CalculationBasis basisOf(const Session& session);

// Whether the results grid and Memo1 show a calculation of what the
// worksheet and the archive hold now.
bool resultsCurrent(const Session& session);

} // namespace camini
