#pragma once

#include "common/Cp1252.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace camini {

constexpr int MaxMaterials = 100;
constexpr int MaxPoints = 6;

// One slot of the archive: a description and up to six (temperature,
// conductivity) points. A point whose temperature is 0 or below is empty.
struct Material {
    Cp1252 description;
    std::array<double, MaxPoints> temperatures{}; // deg C
    std::array<double, MaxPoints> lambdas{};      // W/m K
    // Derived by the last load: temperature of point 1, temperature of point
    // pointCount, and the position of the last point above 0 deg C.
    double tempMin = 0.0;
    double tempMax = 0.0;
    std::uint16_t pointCount = 0;

    friend bool operator==(const Material&, const Material&) = default;
};

using ArchiveSlots = std::array<Material, MaxMaterials>;

// The text of the archive file as slots, material 1 first: every slot
// replaced, its missing lines read as empty, then pointCount, tempMin and
// tempMax derived. Any bytes read: a line that is no number reads 0.
ArchiveSlots parseMaterialArchive(Cp1252View text);

// The same, into `slots`, whose strings keep their storage for the next text.
// With `misread`, one line is added there for every number line that is not
// entirely a number (blanks around it aside) or not finite, in file order:
// materiale 3 "acciaio al carbonio", punto 2: "0,0690" letto come 0
// An empty line is a 0 and is not named.
void parseMaterialArchive(Cp1252View text, ArchiveSlots& slots,
                          std::vector<Cp1252>* misread = nullptr);

// The warning line of a material's point: `materiale M "description", punto K: `
// followed by `what`.
Cp1252 materialPointWarning(int m, const Material& mat, int point, Cp1252View what);

// The warnings of a list in one message: the first MaxWarningLines lines, then
// "e altri N" for the rest; empty for no warnings.
constexpr std::size_t MaxWarningLines = 20;
Cp1252 joinWarnings(const std::vector<Cp1252>& lines);

// The file's text for the slots (CR LF line ends).
Cp1252 serializeMaterialArchive(const ArchiveSlots& materials);

// The same, replacing the contents of `out` and reusing its storage.
void serializeMaterialArchive(const ArchiveSlots& materials, Cp1252& out);

// The materials archive "materiali.TXT": 100 slots, material numbers 1..100.
// The file is 100 blocks of 13 lines: the description, then temperature and
// conductivity of points 1 to 6 (width 7; 0 and 4 decimals).
class MaterialArchive {
public:
    // An empty archive bound to the file at path. With a shipped archive,
    // path is the user's own archive: read when it exists, the shipped one
    // otherwise, and saved to path, whose folder the save makes.
    explicit MaterialArchive(PathBytes path = {}, PathBytes shippedPath = {});

    // The file the archive is saved to.
    const PathBytes& path() const { return path_; }
    const PathBytes& shippedPath() const { return shippedPath_; }
    void setPath(PathBytes path, PathBytes shippedPath = {}) {
        path_ = std::move(path);
        shippedPath_ = std::move(shippedPath);
    }
    // The file a load reads now.
    PathBytes readPath() const;

    // Reads the file and replaces every slot, then derives pointCount,
    // tempMin and tempMax. All or nothing: when the file cannot be read,
    // FileError is thrown and memory is left as it was. A short file is no
    // failure: its missing lines read as empty.
    void load();

    // Writes all 100 slots to the file, replacing it safely; the user's
    // archive gets its folder made first. Throws FileError, naming the
    // shipped archive when there is no user's archive to write.
    void save() const;

    // The file's text for the current slots (CR LF line ends).
    Cp1252 fileText() const;

    // Conductivity of material m at temperature t: piecewise linear between
    // the points, constant beyond the first and last point. A one-point
    // material answers its point's conductivity at any temperature. A
    // material without points, or a number outside 1..100, answers 0.
    double conductivity(int m, double t) const;

    // True when t is not above the material's tempMax. A material without
    // points, or a number outside 1..100, has no limit: true.
    bool withinMaxTemperature(int m, double t) const;

    static bool validNumber(int m) { return m >= 1 && m <= MaxMaterials; }

    // Whether material m has points over a range of temperatures (tempMin
    // and tempMax not equal): what its conductivity graph needs.
    bool hasTemperatureRange(int m) const { return pointCount(m) != 0 && tempMin(m) != tempMax(m); }

    // Slot m (1..100). Numbers outside the range give an empty material that
    // is never stored.
    const Material& material(int m) const;
    Material& material(int m);

    // All the slots, material 1 first.
    const ArchiveSlots& allMaterials() const { return slots_; }

    // Replaces every slot with what the text holds, as a load does with the
    // file's text; the slots keep their strings' storage.
    void parse(Cp1252View text) { parseMaterialArchive(text, slots_, &misread_); }

    // The numbers the last load or parse did not read as written
    // (parseMaterialArchive's lines).
    const std::vector<Cp1252>& misreadNumbers() const { return misread_; }

    const Cp1252& description(int m) const { return material(m).description; }
    std::uint16_t pointCount(int m) const { return material(m).pointCount; }
    double tempMin(int m) const { return material(m).tempMin; }
    double tempMax(int m) const { return material(m).tempMax; }

    // Recomputes pointCount, tempMin and tempMax of one material from its
    // points, as a load does.
    static void derive(Material& mat);

    // A material of one point (pointCount as the last load counted it) has
    // its range at that point: tempMin and tempMax become the point's
    // temperature, as edited since. The load and the editor's store keep it
    // so, and the lookup reads it.
    static void settleOnePointRange(Material& mat);

private:
    PathBytes path_;
    PathBytes shippedPath_;
    ArchiveSlots slots_;
    Material outside_; // scratch slot for writes through numbers outside 1..100
    std::vector<Cp1252> misread_;
};

} // namespace camini
