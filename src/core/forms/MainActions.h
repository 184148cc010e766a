#pragma once

#include "common/Cp1252.h"
#include "engine/Worksheet.h"

#include <string>
#include <vector>

namespace camini {

struct Session;
class Messages;
class MaterialArchive;
class SizeCatalogue;

// The worksheet operations behind the main window's handlers.

// What the start-up does with the data files.
struct StartUpPolicy {
    // The size catalogue serves the main window's size list only.
    bool readSizeCatalogue = true;
    // A file that cannot be read: true, reported in the error box with the
    // path and the platform's text, and the start-up goes on with what is in
    // memory (the window); false, the FileError ends the start-up and reaches
    // the caller (the batch calculator).
    bool goOnAfterFailure = true;
};

// Start-up of the main window: loads the archive, writes the start project
// (materials 5, 1, 1, 9, graph material 1, "quadrata" cleared, the results
// grid emptied), empties the viewer document, loads the size catalogue,
// empties Memo1 and lists the chosen materials in Memo2.
void startUp(Session& session, Messages& messages, const StartUpPolicy& policy = {});

// The items of the standard-size list: each inner diameter rounded to a
// whole number in 3 characters.
std::vector<Cp1252> sizeListItems(const SizeCatalogue& sizes);

// "C&ancella": empties the input values and the results (headings and row
// names stay). Nothing else changes.
void clearInputsAndResults(Worksheet& sheet);

// A choice in the standard-size list (entry 1..8): inner diameter and
// insulation thickness (0 and screen 1 at 0 for a single wall), insulation
// material 1, Memo2 rewritten.
void chooseStandardSize(Worksheet& sheet, const SizeCatalogue& sizes,
                        const MaterialArchive& archive, int entry);

// A layer button or "&Grafico lambda materiali": the material list shows the
// 100 archive descriptions in place of the picture, for `mode`. Returns the
// items of the list.
std::vector<Cp1252> openMaterialList(Worksheet& sheet, const MaterialArchive& archive,
                                     MaterialListMode mode);

// Esc in the material list: the list closes without a choice and the
// picture shows again; nothing else changes.
void closeMaterialList(Worksheet& sheet);

// A choice in the material list at `position` (0..99): stores material
// position + 1 for the layer of the current mode (or as the graph material,
// chooseGraphMaterial), hides the list and shows the picture. Returns true
// when the conductivity graph is to be shown (mode 5); the caller shows it,
// then calls showMaterialChoices. For the layer modes Memo2 is rewritten here.
bool chooseMaterial(Worksheet& sheet, const MaterialArchive& archive, int position);

// Material m (1..100) chosen for the conductivity graph: it becomes the graph
// material and, when it has a range of temperatures to draw its curve over
// (not a material of one point), the insulation material, whose conductivity
// the curve is.
void chooseGraphMaterial(Worksheet& sheet, const MaterialArchive& archive, int m);

// "Monoparete" clicked: when now ticked, the insulation thickness becomes "0".
void singleWallClicked(Worksheet& sheet, bool ticked);

} // namespace camini
