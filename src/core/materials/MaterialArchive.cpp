#include "MaterialArchive.h"

#include "common/FixedPoint.h"
#include "common/NumberReader.h"
#include "common/TextFile.h"

#include <algorithm>

namespace camini {

namespace {
constexpr std::size_t LinesPerMaterial = 1 + 2 * MaxPoints;
constexpr std::size_t FileLines = MaxMaterials * LinesPerMaterial;
} // namespace

MaterialArchive::MaterialArchive(std::string path) : path_(std::move(path)) {}

void MaterialArchive::derive(Material& mat) {
    mat.pointCount = 0;
    for (int k = 0; k < MaxPoints; ++k)
        if (mat.temperatures[k] > 0.0)
            mat.pointCount = static_cast<std::uint16_t>(k + 1);
    mat.tempMin = mat.temperatures[0];
    mat.tempMax = mat.pointCount > 0 ? mat.temperatures[mat.pointCount - 1] : 0.0;
}

namespace {

// Hands out the lines of a text one by one, by the rules of splitTextLines;
// past the end every line is empty.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) {}
    std::string_view next() {
        if (pos_ >= text_.size())
            return {};
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = text_.size();
        std::string_view line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        return line;
    }
    bool atEnd() const { return pos_ >= text_.size(); }
    // Steps over `block` when the rest of the text begins with it.
    bool skip(std::string_view block) {
        if (text_.substr(std::min(pos_, text_.size())).substr(0, block.size()) != block)
            return false;
        pos_ += block.size();
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The 13 lines of an empty slot as they are written. Most slots of an
// archive are empty: they are written and read as one block.
const std::string& emptyBlock() {
    static const std::string block = [] {
        std::string b = "\r\n";
        for (int k = 0; k < MaxPoints; ++k)
            b += "      0\r\n 0.0000\r\n";
        return b;
    }();
    return block;
}

bool isEmptySlot(const Material& mat) {
    if (!mat.description.empty())
        return false;
    for (int k = 0; k < MaxPoints; ++k)
        if (mat.temperatures[k] != 0.0 || mat.lambdas[k] != 0.0)
            return false;
    return true;
}

} // namespace

ArchiveSlots parseMaterialArchive(std::string_view text) {
    LineCursor lines(text);
    ArchiveSlots fresh;
    for (auto& mat : fresh) {
        // An empty slot's block, like the missing lines after the end of
        // the text, reads as the empty material.
        if (lines.atEnd())
            break;
        if (lines.skip(emptyBlock()))
            continue;
        mat.description = lines.next();
        for (int k = 0; k < MaxPoints; ++k) {
            mat.temperatures[k] = readFileNumber(lines.next());
            mat.lambdas[k] = readFileNumber(lines.next());
        }
        MaterialArchive::derive(mat);
    }
    return fresh;
}

std::string serializeMaterialArchive(const ArchiveSlots& materials) {
    std::string out;
    out.reserve(FileLines * 10);
    for (const auto& mat : materials) {
        if (isEmptySlot(mat)) {
            out += emptyBlock();
            continue;
        }
        out += mat.description;
        out += "\r\n";
        for (int k = 0; k < MaxPoints; ++k) {
            appendFixed(out, mat.temperatures[k], 7, 0);
            out += "\r\n";
            appendFixed(out, mat.lambdas[k], 7, 4);
            out += "\r\n";
        }
    }
    return out;
}

void MaterialArchive::load() {
    slots_ = parseMaterialArchive(readTextHead(path_, FileLines));
}

std::string MaterialArchive::fileText() const {
    return serializeMaterialArchive(slots_);
}

void MaterialArchive::save() const {
    replaceFileSafely(path_, fileText());
}

const Material& MaterialArchive::material(int m) const {
    static const Material none;
    return validNumber(m) ? slots_[static_cast<std::size_t>(m - 1)] : none;
}

Material& MaterialArchive::material(int m) {
    if (validNumber(m))
        return slots_[static_cast<std::size_t>(m - 1)];
    outside_ = Material{};
    return outside_;
}

double MaterialArchive::conductivity(int m, double t) {
    if (!validNumber(m))
        return 0.0;
    Material& mat = slots_[static_cast<std::size_t>(m - 1)];
    const int n = mat.pointCount;
    if (n == 0)
        return 0.0;
    double result = 0.0;
    if (n == 1) {
        mat.tempMin = mat.temperatures[0];
        mat.tempMax = mat.temperatures[0];
        result = mat.lambdas[0];
    } else {
        for (int j = 0; j + 1 < n; ++j) {
            const double t1 = mat.temperatures[j];
            const double t2 = mat.temperatures[j + 1];
            if (t1 > 0.0 && t1 <= t && t <= t2) {
                // Two points at the same temperature make a segment of no
                // width: it answers its first point instead of 0 / 0.
                result = t2 == t1
                             ? mat.lambdas[j]
                             : mat.lambdas[j] +
                                   (t - t1) * (mat.lambdas[j + 1] - mat.lambdas[j]) / (t2 - t1);
            }
        }
    }
    if (t <= mat.tempMin)
        result = mat.lambdas[0];
    if (t >= mat.tempMax)
        result = mat.lambdas[n - 1];
    return result;
}

bool MaterialArchive::withinMaxTemperature(int m, double t) const {
    if (!validNumber(m))
        return true;
    const Material& mat = slots_[static_cast<std::size_t>(m - 1)];
    if (mat.pointCount == 0)
        return true;
    return t <= mat.tempMax;
}

} // namespace camini
