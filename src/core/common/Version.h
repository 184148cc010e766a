#pragma once

#include <string>

namespace camini {

// The program's version, set once in the build (e.g. "1.1.0").
extern const char* const ProgramVersion;

// What `--version` prints: the program's name and its version on one line,
// e.g. "camini-calc 1.1.0".
std::string versionLine(const std::string& programName);

} // namespace camini
