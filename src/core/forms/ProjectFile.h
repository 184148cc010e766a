#pragma once

#include "common/Cp1252.h"
#include "engine/WallTable.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace camini {

struct Session;
struct Worksheet;
class MaterialArchive;
class Messages;

// The project file: 18 lines of CP1252 text, each ended by CR LF: the title,
// the twelve input texts as typed, "quad" or "rot", and the four material
// numbers right-aligned in 2 characters.
std::vector<Cp1252> projectLines(const Worksheet& sheet);

// What a project file holds, as read: the title, the twelve input texts, the
// section shape and the four material numbers. A number line that gives no
// material number 1..100 reads 0, its text kept for the message that names it.
struct ProjectContent {
    Cp1252 title;
    std::array<Cp1252, InputRows> inputTexts;
    bool squareSection = false;
    std::array<int, MaterialSlots> materials{};
    std::array<Cp1252, MaterialSlots> materialTexts;

    friend bool operator==(const ProjectContent&, const ProjectContent&) = default;
};

// The text of a project file as its contents: the first 18 lines, missing
// lines read as empty, "quad" exactly for a square section, each material
// number read leniently and cut toward zero.
ProjectContent parseProject(Cp1252View text);

// The project file's text for the worksheet: projectLines joined by CR LF.
Cp1252 serializeProject(const Worksheet& sheet);

// Puts what a project file holds into the worksheet, as loadProject does: a
// material number of 0 is refused with a message, the layer keeping its
// material; then the chosen-materials box is rewritten.
void applyProject(const ProjectContent& content, Worksheet& sheet, const MaterialArchive& archive,
                  Messages& messages);

// Writes the project of the worksheet to path, replacing the file safely.
// Throws FileError.
void saveProject(const Worksheet& sheet, const PathBytes& path);

// Reads a project file into the worksheet: title, input texts, the section
// shape ("quad" exactly ticks "quadrata") and the materials, then rewrites the
// chosen-materials box. Missing lines read as empty. A material number
// outside 1..100 is refused: the layer keeps its material and a message
// names the layer and the number read. Throws FileError, in which case the
// worksheet is unchanged.
void loadProject(const PathBytes& path, Worksheet& sheet, const MaterialArchive& archive,
                 Messages& messages);

// A project load and save of the program: as loadProject and saveProject,
// and the project as loaded or saved becomes the one the unsaved-changes
// question compares with.
void loadSessionProject(Session& session, const PathBytes& path, Messages& messages);
void saveSessionProject(Session& session, const PathBytes& path);

// Whether the title, a cell, "quadrata" or a material differs from the
// project last loaded or saved (or the start project before either).
bool projectChanged(const Session& session);

// The name the save dialog proposes: the project title, with any "/" (which
// would name a folder) written as "-".
Cp1252 proposedProjectName(const Cp1252& title);

// The name a project is saved under: ".CAM" is appended unless the chosen
// name ends in exactly ".CAM" or ".cam".
PathBytes projectFileName(const PathBytes& chosen);

} // namespace camini
