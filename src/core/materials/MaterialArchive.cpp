#include "MaterialArchive.h"

#include "common/DataPlaces.h"
#include "common/FileError.h"
#include "common/FixedPoint.h"
#include "common/NumberReader.h"
#include "common/TextFile.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

namespace camini {

namespace {
constexpr std::size_t LinesPerMaterial = 1 + 2 * MaxPoints;
constexpr std::size_t FileLines = MaxMaterials * LinesPerMaterial;
// No archive reaches this: 1,300 lines of a few dozen bytes make some 15 KiB.
constexpr std::size_t FileBytes = 4u << 20;
} // namespace

MaterialArchive::MaterialArchive(std::string path, std::string shippedPath)
    : path_(std::move(path)), shippedPath_(std::move(shippedPath)) {}

void MaterialArchive::derive(Material& mat) {
    mat.pointCount = 0;
    for (int k = 0; k < MaxPoints; ++k)
        if (mat.temperatures[k] > 0.0)
            mat.pointCount = static_cast<std::uint16_t>(k + 1);
    mat.tempMin = mat.temperatures[0];
    mat.tempMax = mat.pointCount > 0 ? mat.temperatures[mat.pointCount - 1] : 0.0;
}

void MaterialArchive::settleOnePointRange(Material& mat) {
    if (mat.pointCount == 1) {
        mat.tempMin = mat.temperatures[0];
        mat.tempMax = mat.temperatures[0];
    }
}

namespace {

// Hands out the lines of a text one by one, by the rules of splitTextLines;
// past the end every line is empty.
class LineCursor {
public:
    explicit LineCursor(std::string_view text)
        : at_(text.data()), end_(text.data() + text.size()) {}
    bool atEnd() const { return at_ == end_; }
    std::string_view next() {
        if (at_ == end_)
            return {};
        const char* start = at_;
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', end_ - start));
        const char* stop = lf ? lf : end_;
        at_ = lf ? lf + 1 : end_;
        if (stop != start && stop[-1] == '\r')
            --stop;
        return {start, static_cast<std::size_t>(stop - start)};
    }
    // Steps over `block` (not empty) when the rest of the text begins with
    // it. The first byte tells most texts apart before the whole compare.
    bool skip(std::string_view block) {
        if (static_cast<std::size_t>(end_ - at_) < block.size() || *at_ != block.front() ||
            std::memcmp(at_, block.data(), block.size()) != 0)
            return false;
        at_ += block.size();
        return true;
    }

private:
    const char* at_;
    const char* end_;
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

namespace {

// Whether a number line reads as written: empty, or a finite number with
// nothing but blanks around it.
bool readAsWritten(std::string_view line) {
    const auto end = line.find_last_not_of(" \t");
    if (end == std::string_view::npos)
        return true;
    const auto v = readNumberStrict(line.substr(0, end + 1));
    return v && std::isfinite(*v);
}

// The misread text in a warning: its first characters.
constexpr std::size_t ShownTextLength = 20;

} // namespace

Cp1252 materialPointWarning(int m, const Material& mat, int point, std::string_view what) {
    return "materiale " + std::to_string(m) + " \"" + mat.description + "\", punto " +
           std::to_string(point) + ": " + std::string(what);
}

Cp1252 joinWarnings(const std::vector<Cp1252>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size() && i < MaxWarningLines; ++i)
        text += (i ? "\n" : "") + lines[i];
    if (lines.size() > MaxWarningLines)
        text += "\ne altri " + std::to_string(lines.size() - MaxWarningLines);
    return text;
}

void parseMaterialArchive(std::string_view text, ArchiveSlots& slots,
                          std::vector<Cp1252>* misread) {
    if (misread)
        misread->clear();
    LineCursor lines(text);
    int number = 0;
    auto read = [&](std::string_view line, const Material& mat, int point) {
        const double v = readFileNumber(line);
        if (misread && !readAsWritten(line))
            misread->push_back(
                materialPointWarning(number, mat, point,
                                     "\"" + std::string(line.substr(0, ShownTextLength)) +
                                         (line.size() > ShownTextLength ? "...\"" : "\"") +
                                         " letto come " + shortestNumber(v)));
        return v;
    };
    for (auto& mat : slots) {
        ++number;
        // An empty slot's block, like the missing lines after the end of
        // the text, reads as the empty material.
        if (lines.atEnd() || lines.skip(emptyBlock())) {
            mat.description.clear();
            mat.temperatures.fill(0.0);
            mat.lambdas.fill(0.0);
        } else {
            mat.description = lines.next();
            for (int k = 0; k < MaxPoints; ++k) {
                mat.temperatures[k] = read(lines.next(), mat, k + 1);
                mat.lambdas[k] = read(lines.next(), mat, k + 1);
            }
        }
        MaterialArchive::derive(mat);
    }
}

ArchiveSlots parseMaterialArchive(std::string_view text) {
    ArchiveSlots fresh;
    parseMaterialArchive(text, fresh);
    return fresh;
}

void serializeMaterialArchive(const ArchiveSlots& materials, std::string& out) {
    out.clear();
    out.reserve(FileLines * 10);
    // The twelve number lines of a material are gathered here and appended
    // at once.
    char numbers[std::size_t{2} * MaxPoints * (MaxFixedLength + 2)];
    for (const auto& mat : materials) {
        if (isEmptySlot(mat)) {
            out += emptyBlock();
            continue;
        }
        out += mat.description;
        out += "\r\n";
        char* at = numbers;
        for (int k = 0; k < MaxPoints; ++k) {
            at = writeFixed(at, mat.temperatures[k], 7, 0);
            *at++ = '\r';
            *at++ = '\n';
            at = writeFixed(at, mat.lambdas[k], 7, 4);
            *at++ = '\r';
            *at++ = '\n';
        }
        out.append(numbers, static_cast<std::size_t>(at - numbers));
    }
}

std::string serializeMaterialArchive(const ArchiveSlots& materials) {
    std::string out;
    serializeMaterialArchive(materials, out);
    return out;
}

std::string MaterialArchive::readPath() const {
    return archiveReadPath(path_, shippedPath_);
}

void MaterialArchive::load() {
    // The reading may fail; the parsing never does, so memory changes only
    // once the whole text is in hand.
    parse(readTextHead(readPath(), FileLines, FileBytes));
}

std::string MaterialArchive::fileText() const {
    return serializeMaterialArchive(slots_);
}

void MaterialArchive::save() const {
    if (!shippedPath_.empty()) {
        // The shipped archive is never written.
        if (path_.empty())
            throw FileError(EACCES, shippedPath_);
        makeFolders(std::filesystem::path(path_).parent_path().string());
    }
    const std::string text = fileText();
    requireTextWithinBound(path_, text, FileBytes);
    replaceFileSafely(path_, text);
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

double MaterialArchive::conductivity(int m, double t) const {
    if (!validNumber(m))
        return 0.0;
    const Material& mat = slots_[static_cast<std::size_t>(m - 1)];
    const int n = mat.pointCount;
    if (n == 0)
        return 0.0;
    double result = 0.0;
    if (n == 1) {
        // Its range is its point (settleOnePointRange): both rules below
        // answer the same conductivity.
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
