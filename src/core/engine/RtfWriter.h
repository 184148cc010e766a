#pragma once

#include <string>

namespace camini {

struct ViewerDocument;

// The viewer document as a Rich Text Format document: one font (its name,
// size in points), one paragraph per line, CP1252 characters kept.
std::string toRtf(const ViewerDocument& doc);

// Writes the document as RTF to path, replacing the file safely. Throws FileError.
void saveRtf(const ViewerDocument& doc, const std::string& path);

// The name a report is saved under: ".rtf" is appended unless the chosen
// name already ends in ".rtf" (in any letter case).
std::string reportFileName(const std::string& chosen);

} // namespace camini
