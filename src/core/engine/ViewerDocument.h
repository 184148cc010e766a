#pragma once

#include "common/Cp1252.h"

#include <string>
#include <vector>

namespace camini {

// The results viewer's text: paragraphs (CP1252) in one font. The report and
// the archive listing write it; the viewer window, the printer and the RTF
// writer read it.
struct ViewerDocument {
    std::vector<Cp1252> paragraphs;
    Cp1252 fontName = "courier new";
    int fontSize = 14; // points
    // The first paragraph of the last report appended: the viewer opens there.
    std::size_t reportStart = 0;

    void clear() {
        paragraphs.clear();
        reportStart = 0;
    }
    void append(Cp1252 line) { paragraphs.push_back(std::move(line)); }

    // Sets the listings' fixed-pitch font, "courier new" 14 points.
    void useListingFont() {
        fontName = "courier new";
        fontSize = 14;
    }

    // Replaces the text by a listing in the listings' font.
    void showListing(std::vector<Cp1252> lines) {
        useListingFont();
        paragraphs = std::move(lines);
        reportStart = 0;
    }
};

} // namespace camini
