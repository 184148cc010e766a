#include "Cp1252.h"

#include <array>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace camini {

namespace {

// Whether iconv_open gave a conversion: it answers (iconv_t)-1 when it cannot.
bool opened(iconv_t cd) {
    return cd != reinterpret_cast<iconv_t>(-1); // NOLINT(performance-no-int-to-ptr): iconv's value
}

// UTF-8 text of every CP1252 byte, built once with iconv.
const std::array<std::string, 256>& byteTable() {
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        iconv_t cd = iconv_open("UTF-8", "CP1252");
        for (int b = 0; b < 256; ++b) {
            if (b < 0x80) {
                t[b].push_back(static_cast<char>(b));
                continue;
            }
            t[b].push_back('?');
            if (!opened(cd))
                continue;
            char in[1] = {static_cast<char>(b)};
            char out[8];
            char* ip = in;
            char* op = out;
            std::size_t il = 1, ol = sizeof out;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &ip, &il, &op, &ol) != static_cast<std::size_t>(-1) && il == 0)
                t[b].assign(out, static_cast<std::size_t>(op - out));
        }
        if (opened(cd))
            iconv_close(cd);
        return t;
    }();
    return table;
}

// Length of the UTF-8 sequence that starts with byte c, 0 when c cannot start one.
std::size_t sequenceLength(unsigned char c) {
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return 2;
    if (c >= 0xE0 && c <= 0xEF)
        return 3;
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    return 0;
}

} // namespace

Utf8 toUtf8(Cp1252View cp1252) {
    const auto& t = byteTable();
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 4);
    for (char c : cp1252)
        out += t[static_cast<unsigned char>(c)];
    return out;
}

Cp1252 fromUtf8(Utf8View utf8) {
    std::string out;
    out.reserve(utf8.size());
    iconv_t cd = iconv_open("CP1252", "UTF-8");
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        std::size_t n = sequenceLength(c);
        bool whole = n > 0 && i + n <= utf8.size();
        for (std::size_t k = 1; whole && k < n; ++k)
            whole = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
        if (!whole) {
            // Malformed: one '?' for the byte, then resynchronise.
            out.push_back('?');
            ++i;
            continue;
        }
        char converted = '?';
        if (opened(cd)) {
            char in[4];
            for (std::size_t k = 0; k < n; ++k)
                in[k] = utf8[i + k];
            char outb[4];
            char* ip = in;
            char* op = outb;
            std::size_t il = n, ol = sizeof outb;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &ip, &il, &op, &ol) != static_cast<std::size_t>(-1) && op - outb == 1)
                converted = outb[0];
        }
        out.push_back(converted);
        i += n;
    }
    if (opened(cd))
        iconv_close(cd);
    return out;
}

std::string printableText(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t' && b != '\n') || b == 0x7F)
            c = '?';
    }
    return out;
}

} // namespace camini
