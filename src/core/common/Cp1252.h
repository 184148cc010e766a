#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace camini {

// Texts of the system are single-byte CP1252 strings (the degree sign is the
// byte 0xB0). The names below say in every interface which encoding a string
// carries; the conversions between them happen at the edges only: the windows
// and the terminal.

// A text of the system: CP1252, one byte a character, lengths in bytes.
using Cp1252 = std::string;
using Cp1252View = std::string_view;
// A text for the terminal, JSON documents, command-line arguments and the
// widgets' side: UTF-8.
using Utf8 = std::string;
using Utf8View = std::string_view;
// A path as the file system takes it: bytes, in no particular encoding.
using PathBytes = std::string;

// The degree sign of CP1252, and the unit after a temperature: "°C".
inline constexpr char DegreeSign = '\xB0';
inline constexpr char DegreesCelsius[] = {DegreeSign, 'C', '\0'};

// A CP1252 text joined from literals at compile time, for the tables that
// keep their texts as `const char*` (a label with the degree sign, say).
template <std::size_t N> struct JoinedText {
    std::array<char, N> chars{};
    constexpr const char* c_str() const { return chars.data(); }
};

template <std::size_t... N>
consteval JoinedText<(N + ...) - sizeof...(N) + 1> joinText(const char (&... parts)[N]) {
    JoinedText<(N + ...) - sizeof...(N) + 1> out;
    std::size_t at = 0;
    auto append = [&](const char* part, std::size_t size) {
        for (std::size_t i = 0; i + 1 < size; ++i)
            out.chars[at++] = part[i];
    };
    (append(parts, N), ...);
    return out;
}

// CP1252 to UTF-8. The five bytes CP1252 leaves undefined become '?'.
Utf8 toUtf8(Cp1252View cp1252);

// UTF-8 to CP1252. Characters CP1252 cannot hold, and malformed UTF-8, become '?'.
Cp1252 fromUtf8(Utf8View utf8);

// A text to show: every control byte (below 0x20 but tab and line feed, and
// 0x7F) becomes '?', so that a file's bytes cannot move a terminal's cursor or
// change its colours. Line feeds are the program's own line breaks (no file
// line holds one). Works on CP1252 and UTF-8 alike.
std::string printableText(std::string_view text);

} // namespace camini
