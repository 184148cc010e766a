#pragma once

#include "Cp1252.h"

#include <string>

namespace camini {

// The folder of the running executable, ending with '/'. The fixed data files
// (the materials archive, the size catalogue, the pictures) live there.
PathBytes executableFolder();

// folder joined with a file name, with exactly one '/' between them.
PathBytes joinPath(const PathBytes& folder, const PathBytes& name);

} // namespace camini
