#include "Session.h"

#include "common/ExecutableFolder.h"

namespace camini {

Session::Session(const std::string& dataFolder)
    : archive(joinPath(dataFolder, "materiali.TXT")), sizes(joinPath(dataFolder, "stabile1.txt")),
      dataFolder(dataFolder) {}

} // namespace camini
