#pragma once

#include "common/Cp1252.h"

#include <array>
#include <string>
#include <string_view>

namespace camini {

constexpr int SizeCount = 8;

// A standard chimney size: the flue's inner diameter and the outer diameter
// over the insulation, in mm.
struct SizeEntry {
    double innerDiameter = 0.0;
    double outerDiameter = 0.0;
};

using SizeEntries = std::array<SizeEntry, SizeCount>;

// The text of the catalogue file as its 8 entries: the first 24 lines, any
// line missing or no number reading 0.
SizeEntries parseSizeCatalogue(Cp1252View text);

// The file's text for the entries: per entry the two diameters, each in the
// shortest form that reads back as the same value, and its number 1..8
// (CR LF line ends).
Cp1252 serializeSizeCatalogue(const SizeEntries& entries);

// The 8 standard sizes of "stabile1.txt": 8 blocks of 3 lines (inner
// diameter, outer diameter, a whole number that is not used).
class SizeCatalogue {
public:
    explicit SizeCatalogue(PathBytes path = {});

    const PathBytes& path() const { return path_; }
    void setPath(PathBytes path) { path_ = std::move(path); }

    // Reads the first 24 lines of the file; missing lines read as 0. All or
    // nothing: on FileError the entries are left as they were.
    void load();

    // All the entries, entry 1 first.
    const SizeEntries& allEntries() const { return entries_; }

    // Entry i, 1..8; numbers outside the range give an entry of zeros.
    const SizeEntry& entry(int i) const;

    // (outer - inner) / 2 of entry i.
    double insulationThickness(int i) const;

private:
    PathBytes path_;
    SizeEntries entries_{};
};

} // namespace camini
