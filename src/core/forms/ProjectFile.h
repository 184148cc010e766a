#pragma once

#include <string>
#include <vector>

namespace camini {

struct Session;
struct Worksheet;
class MaterialArchive;
class Messages;

// The project file: 18 lines of CP1252 text, each ended by CR LF: the title,
// the twelve input texts as typed, "quad" or "rot", and the four material
// numbers right-aligned in 2 characters.
std::vector<std::string> projectLines(const Worksheet& sheet);

// Writes the project of the worksheet to path, replacing the file safely.
// Throws FileError.
void saveProject(const Worksheet& sheet, const std::string& path);

// Reads a project file into the worksheet: title, input texts, the section
// shape ("quad" exactly ticks "quadrata") and the materials, then rewrites the
// chosen-materials box. Missing lines read as empty. A material number
// outside 1..100 is refused: the layer keeps its material and a message
// names the layer and the number read. Throws FileError, in which case the
// worksheet is unchanged.
void loadProject(const std::string& path, Worksheet& sheet, const MaterialArchive& archive,
                 Messages& messages);

// A project load and save of the program: as loadProject and saveProject,
// and the project as loaded or saved becomes the one the unsaved-changes
// question compares with.
void loadSessionProject(Session& session, const std::string& path, Messages& messages);
void saveSessionProject(Session& session, const std::string& path);

// Whether the title, a cell, "quadrata" or a material differs from the
// project last loaded or saved (or the start project before either).
bool projectChanged(const Session& session);

// The name the save dialog proposes: the project title, with any "/" (which
// would name a folder) written as "-".
std::string proposedProjectName(const std::string& title);

// The name a project is saved under: ".CAM" is appended unless the chosen
// name ends in exactly ".CAM" or ".cam".
std::string projectFileName(const std::string& chosen);

} // namespace camini
