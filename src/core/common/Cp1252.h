#pragma once

#include <string>
#include <string_view>

namespace camini {

// Texts of the system are single-byte CP1252 strings (the degree sign is the
// byte 0xB0). These convert at the edges: windows and the terminal.

// CP1252 to UTF-8. The five bytes CP1252 leaves undefined become '?'.
std::string toUtf8(std::string_view cp1252);

// UTF-8 to CP1252. Characters CP1252 cannot hold, and malformed UTF-8, become '?'.
std::string fromUtf8(std::string_view utf8);

} // namespace camini
