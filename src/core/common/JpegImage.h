#pragma once

#include "Cp1252.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace camini {

// A decoded picture: 8-bit RGB, three bytes a pixel (red, green, blue), rows
// from top to bottom, each row right after the one before (no padding).
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 3 bytes

    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * 3; }
    bool empty() const { return width <= 0 || height <= 0; }
    // The first byte of row y (0 = top).
    const std::uint8_t* row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * rowBytes();
    }
    // The red byte of pixel (x, y); green and blue follow it.
    const std::uint8_t* pixel(int x, int y) const {
        return row(y) + static_cast<std::size_t>(x) * 3;
    }
};

// What a decode may cost. Pictures beyond these bounds are refused before
// anything is allocated for their pixels. The defaults suit the program's own
// pictures with a wide margin; a caller that wants memory tied to the size of
// its input (a fuzzer, for example) passes tighter ones.
struct JpegLimits {
    int maxSide = 20000;                             // pixels, width and height each
    std::int64_t maxPixels = 100'000'000;            // width * height
    std::size_t maxFileBytes = 256u << 20;           // bytes read from a file
    std::size_t maxWorkBytes = std::size_t{1} << 30; // the decoder's whole-picture buffers
    int maxScans = 1000;                             // scans of a progressive picture
};

// Decodes the JPEG picture in the file at path. Greyscale pictures come out as
// RGB with three equal channels; CMYK pictures are converted to RGB.
//
// Throws FileError carrying the path:
// - for a failure of the file system, the platform's text ("File not found",
//   "File access denied", the system's message for a folder ...);
// - for a file that is not a whole, valid JPEG picture (empty, truncated,
//   corrupt data, not a JPEG at all), "Invalid JPEG file (<the decoder's
//   reason>)"; every warning of the decoder counts as such an error, since a
//   truncated file raises only warnings;
// - for a picture beyond the limits, "JPEG picture too large (...)".
// The process never ends and no partial picture is returned.
RgbImage readJpegFile(const PathBytes& path, const JpegLimits& limits = {});

// Decodes a JPEG picture held in memory, with the rules of readJpegFile; name
// stands for the path in the errors thrown.
RgbImage decodeJpeg(std::span<const std::uint8_t> bytes, const PathBytes& name,
                    const JpegLimits& limits = {});

inline RgbImage decodeJpeg(std::string_view bytes, const PathBytes& name,
                           const JpegLimits& limits = {}) {
    return decodeJpeg(std::span<const std::uint8_t>(
                          reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                      name, limits);
}

} // namespace camini
