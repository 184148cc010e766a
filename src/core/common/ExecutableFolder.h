#pragma once

#include <string>

namespace camini {

// The folder of the running executable, ending with '/'. The fixed data files
// (the materials archive, the size catalogue, the pictures) live there.
std::string executableFolder();

// folder joined with a file name, with exactly one '/' between them.
std::string joinPath(const std::string& folder, const std::string& name);

} // namespace camini
