#pragma once

#include "common/Cp1252.h"

#include <cstddef>
#include <string>

namespace camini {

struct ViewerDocument;

// The page every RTF document declares, in twips (1/1440 inch): A4 landscape
// with margins of 1.5 cm all round.
constexpr int RtfPaperWidth = 16838;
constexpr int RtfPaperHeight = 11906;
constexpr int RtfMargin = 850;
constexpr int RtfTextWidth = RtfPaperWidth - 2 * RtfMargin;

// The smallest size a fixed-pitch line is shrunk to, as on screen and on paper.
constexpr int SmallestFittingPoints = 7;

// The largest whole point size, at most `points`, at which a line of
// `characters` fixed-pitch characters (each 0.6 em wide, as in Courier New)
// fits `room` twips; SmallestFittingPoints when even that is too wide (the
// line then wraps), and `points` itself when it is already smaller.
int fixedPitchFittingPoints(std::size_t characters, int points, int room);

// The viewer document as a Rich Text Format document on the page above: one
// font (its name; its size, or the smaller size at which the longest
// paragraph fits the page's width), one paragraph per line, CP1252
// characters kept.
std::string toRtf(const ViewerDocument& doc);

// Writes the document as RTF to path, replacing the file safely. Throws FileError.
void saveRtf(const ViewerDocument& doc, const PathBytes& path);

// The name a report is saved under: ".rtf" is appended unless the chosen
// name already ends in ".rtf" (in any letter case).
PathBytes reportFileName(const PathBytes& chosen);

} // namespace camini
