#pragma once

#include "common/Cp1252.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace camini {

class MaterialArchive;
class Messages;

// One page of the archive editor: the six points of a material as the grid
// shows them (temperature, conductivity), its description and the status line.
struct EditorPage {
    std::array<std::array<Cp1252, 2>, 6> cells;
    Cp1252 description;
    Cp1252 status;
};

// The page of material m: temperatures with 0 decimals and
// conductivities with 4, width 7; the status line "progr=.. punti=...
// temp min=..... max=....." from the derived values of the last load.
EditorPage editorPageOf(const MaterialArchive& archive, int m);

// Copies a page into material m. A temperature cell that is empty or exactly
// "0" skips its row; other cells (cut to 20 characters) must be numbers and
// nothing else. Faulty cells keep their previous values; one message, the
// last faulty text followed by " errore nell immissione dati!", is shown after
// all rows are stored. The derived values are not recomputed, but a material
// of one point takes its edited point as its range (settleOnePointRange).
// Then one more message names every point of the material whose temperature
// is above 0 and whose conductivity is not (materialPointWarning's lines);
// such points are stored as typed.
void storeEditorPage(MaterialArchive& archive, int m, const EditorPage& page, Messages& messages);

// The next and previous material numbers, held within 1..100.
int nextMaterial(int m);
int previousMaterial(int m);

// The lines of the archive listing for printing: "Archivio materiali", then
// for every material whose description is not empty and does not begin with
// 0, its description and its points above 0 deg C in columns 7 characters
// wide (wider for a material whose numbers would otherwise touch).
std::vector<Cp1252> archiveListing(const MaterialArchive& archive);

} // namespace camini
