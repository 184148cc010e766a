// camini-calc: the batch calculator. Runs the example project of the
// start-up through the wall solver and prints the results table.
#include "common/Cp1252.h"
#include "common/ExecutableFolder.h"
#include "common/FileError.h"
#include "engine/ChimneyInput.h"
#include "engine/ResultsGrid.h"
#include "engine/WallSolver.h"
#include "engine/Worksheet.h"
#include "materials/MaterialArchive.h"

#include <cstdio>
#include <iostream>
#include <string>

using namespace camini;

namespace {

const char* usage =
    "Uso: camini-calc [--data-dir CARTELLA] [--single-wall] [--raise-diameter]\n"
    "\n"
    "Calcola la parete del camino del progetto di esempio e stampa la tabella\n"
    "dei risultati.\n"
    "\n"
    "  --data-dir CARTELLA  cartella di materiali.TXT (di norma quella del programma)\n"
    "  --single-wall        spunta \"Monoparete\"\n"
    "  --raise-diameter     spunta \"D>=200\"\n"
    "  --help               mostra questo aiuto\n";

} // namespace

int main(int argc, char** argv) {
    std::string dataDir = executableFolder();
    bool singleWall = false;
    bool raiseDiameter = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::cout << usage;
            return 0;
        } else if (a == "--data-dir" && i + 1 < argc) {
            dataDir = argv[++i];
        } else if (a == "--single-wall") {
            singleWall = true;
        } else if (a == "--raise-diameter") {
            raiseDiameter = true;
        } else {
            std::cerr << "camini-calc: argomento non valido: " << a << "\n" << usage;
            return 2;
        }
    }

    MaterialArchive archive(joinPath(dataDir, "materiali.TXT"));
    try {
        archive.load();
    } catch (const FileError& e) {
        std::cerr << "camini-calc: " << e.what() << "\n";
        return 1;
    }
    Worksheet sheet;
    sheet.singleWall = singleWall;
    sheet.raiseSmallDiameter = raiseDiameter;
    setStartProject(sheet);
    WallSolver solver;
    solver.solveWall(readChimneyInput(sheet), archive);
    writeResultsGrid(solver.result(), sheet.singleWall, sheet.results);
    for (const auto& row : sheet.results)
        std::cout << toUtf8(resultsTableLine(row)) << "\n";
    return 0;
}
