#include "Version.h"

namespace camini {

#ifndef CAMINI_VERSION
#define CAMINI_VERSION "0"
#endif
const char* const ProgramVersion = CAMINI_VERSION;

std::string versionLine(const std::string& programName) {
    return programName + " " + ProgramVersion;
}

} // namespace camini
