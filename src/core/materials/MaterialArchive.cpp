#include "MaterialArchive.h"

#include "common/FixedPoint.h"
#include "common/NumberReader.h"
#include "common/TextFile.h"

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

ArchiveSlots parseMaterialArchive(std::string_view text) {
    const std::vector<std::string> lines = splitTextLines(text, FileLines);
    auto line = [&](std::size_t i) -> std::string_view {
        return i < lines.size() ? std::string_view(lines[i]) : std::string_view();
    };
    ArchiveSlots fresh;
    std::size_t i = 0;
    for (auto& mat : fresh) {
        mat.description = line(i++);
        for (int k = 0; k < MaxPoints; ++k) {
            mat.temperatures[k] = readFileNumber(line(i++));
            mat.lambdas[k] = readFileNumber(line(i++));
        }
        MaterialArchive::derive(mat);
    }
    return fresh;
}

std::string serializeMaterialArchive(const ArchiveSlots& slots) {
    std::string out;
    out.reserve(FileLines * 10);
    for (const auto& mat : slots) {
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
