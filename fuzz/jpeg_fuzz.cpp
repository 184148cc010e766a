// The JPEG decoder on any bytes: a picture or an error, never a crash or an
// end of the process; a picture has exactly its pixels, and the memory of a
// decode is tied to the size of the input by tight limits.
#include "FuzzSupport.h"
#include "common/FileError.h"
#include "common/JpegImage.h"

using namespace camini;
using namespace camini::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    JpegLimits limits;
    limits.maxSide = 4096;
    limits.maxPixels = 4 * 1024 * 1024;
    limits.maxWorkBytes = 32u << 20;
    limits.maxScans = 100;
    try {
        const RgbImage image =
            decodeJpeg(std::span<const std::uint8_t>(data, size), "fuzz.jpg", limits);
        require(image.width > 0 && image.height > 0, "a picture without pixels");
        require(image.pixels.size() == static_cast<std::size_t>(image.width) * image.height * 3,
                "pixel count does not match the size");
    } catch (const FileError& e) {
        require(!e.text().empty(), "an error without a text");
    }
    return 0;
}
