#pragma once

#include "common/Cp1252.h"
#include "plot/Graphs.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace camini {

struct ViewerDocument;
class Messages;

// The pages of the PDF document, in PostScript points: A4 and margins of
// 1.5 cm all round.
constexpr double PdfA4Short = 595.2756; // 210 mm
constexpr double PdfA4Long = 841.8898;  // 297 mm
constexpr double PdfMargin = 42.5197;   // 15 mm
// The resolution of the pages' device units (the plot library's printer dots).
constexpr double PdfDotsPerInch = 600.0;

// How the viewer document's lines go onto portrait A4 pages: the font size
// (the document's, or the largest whole size down to SmallestFittingPoints
// at which its widest line fits the width between the margins, as measured
// by the PDF canvas) and, for each page, the lines it holds. A line wider
// than the page even at the smallest size is cut into pieces that fit, kept
// together on one page; no line is split across pages.
struct ReportPages {
    int fontSize = 0;
    std::vector<std::vector<Cp1252>> pages;
};

// What the PDF document says of itself.
struct PdfMetadata {
    Utf8 title;                         // the project's title; none when empty
    Utf8 creator;                       // the program and its version
    std::optional<std::time_t> created; // the creation date; else the moment it is made
};

// The viewer document as a PDF document (bytes): the report on portrait A4
// pages in the document's fixed-pitch font, then the graph on a landscape A4
// page, drawn as on a printer page of the graph window (the graph's check
// first, its message to `messages`). The plot state is used as a print uses it.
std::string reportPdf(const ViewerDocument& doc, PlotState& plot, const GraphProcedure& graph,
                      Messages& messages, const PdfMetadata& metadata,
                      ReportPages* layout = nullptr);

// Writes reportPdf to path, replacing the file safely. Throws FileError.
void saveReportPdf(const ViewerDocument& doc, PlotState& plot, const GraphProcedure& graph,
                   Messages& messages, const PdfMetadata& metadata, const PathBytes& path);

} // namespace camini
