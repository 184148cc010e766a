#include "SizeCatalogue.h"

#include "common/NumberReader.h"
#include "common/TextFile.h"

#include <charconv>

namespace camini {

namespace {
// Three lines an entry.
constexpr std::size_t SizeLines = std::size_t{3} * SizeCount;
} // namespace

SizeEntries parseSizeCatalogue(std::string_view text) {
    const auto lines = splitTextLineViews(text, SizeLines);
    auto number = [&](std::size_t i) { return i < lines.size() ? readFileNumber(lines[i]) : 0.0; };
    SizeEntries fresh{};
    for (std::size_t e = 0; e < fresh.size(); ++e) {
        fresh[e].innerDiameter = number(3 * e);
        fresh[e].outerDiameter = number(3 * e + 1);
    }
    return fresh;
}

std::string serializeSizeCatalogue(const SizeEntries& entries) {
    std::string out;
    auto append = [&](double v) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        out.append(buf, r.ptr);
        out += "\r\n";
    };
    for (std::size_t e = 0; e < entries.size(); ++e) {
        append(entries[e].innerDiameter);
        append(entries[e].outerDiameter);
        out += std::to_string(e + 1);
        out += "\r\n";
    }
    return out;
}

namespace {
// No catalogue reaches this: 24 lines of numbers.
constexpr std::size_t FileBytes = 1u << 20;
} // namespace

SizeCatalogue::SizeCatalogue(std::string path) : path_(std::move(path)) {}

void SizeCatalogue::load() {
    entries_ = parseSizeCatalogue(readTextHead(path_, SizeLines, FileBytes));
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
