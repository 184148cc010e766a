#include "SizeCatalogue.h"

#include "common/NumberReader.h"
#include "common/TextFile.h"

namespace camini {

SizeCatalogue::SizeCatalogue(std::string path) : path_(std::move(path)) {}

void SizeCatalogue::load() {
    const auto lines = readTextLines(path_, SizeCount * 3);
    auto number = [&](std::size_t i) { return i < lines.size() ? readFileNumber(lines[i]) : 0.0; };
    std::array<SizeEntry, SizeCount> fresh{};
    for (std::size_t e = 0; e < fresh.size(); ++e) {
        fresh[e].innerDiameter = number(3 * e);
        fresh[e].outerDiameter = number(3 * e + 1);
    }
    entries_ = fresh;
}

const SizeEntry& SizeCatalogue::entry(int i) const {
    static const SizeEntry none{};
    return (i >= 1 && i <= SizeCount) ? entries_[static_cast<std::size_t>(i - 1)] : none;
}

double SizeCatalogue::insulationThickness(int i) const {
    const SizeEntry& e = entry(i);
    return (e.outerDiameter - e.innerDiameter) / 2;
}

} // namespace camini
