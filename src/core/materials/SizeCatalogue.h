#pragma once

#include <array>
#include <string>

namespace camini {

constexpr int SizeCount = 8;

// A standard chimney size: the flue's inner diameter and the outer diameter
// over the insulation, in mm.
struct SizeEntry {
    double innerDiameter = 0.0;
    double outerDiameter = 0.0;
};

// The 8 standard sizes of "stabile1.txt": 8 blocks of 3 lines (inner
// diameter, outer diameter, a whole number that is not used).
class SizeCatalogue {
public:
    explicit SizeCatalogue(std::string path = {});

    const std::string& path() const { return path_; }
    void setPath(std::string path) { path_ = std::move(path); }

    // Reads the first 24 lines of the file; missing lines read as 0. All or
    // nothing: on FileError the entries are left as they were.
    void load();

    // Entry i, 1..8; numbers outside the range give an entry of zeros.
    const SizeEntry& entry(int i) const;

    // (outer - inner) / 2 of entry i.
    double insulationThickness(int i) const;

private:
    std::string path_;
    std::array<SizeEntry, SizeCount> entries_{};
};

} // namespace camini
