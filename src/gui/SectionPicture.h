#pragma once

#include <QImage>
#include <string>

namespace camini {

// Decodes a JPEG picture into a QImage. Throws FileError (a missing file, a
// corrupt or truncated picture).
QImage loadJpegImage(const std::string& path);

} // namespace camini
