#include "JpegImage.h"

#include "common/FileError.h"
#include "common/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

// libjpeg's headers need FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace camini {

namespace {

// libjpeg reports an error by calling error_exit, which must not return (its
// default ends the process). Ours jumps back to the setjmp point in
// runDecoder. A jump skips destructors, so the frames it can cross (the
// libjpeg calls and decodeStages) hold only plain data, and everything the
// decoder works on lives in a DecodeJob owned by the caller of runDecoder. The
// only C++ object touched in between is the output picture, through a pointer,
// and never while a jump can happen inside the call.

enum class Failure { Invalid, TooLarge };

struct DecodeJob {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errorManager;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    Failure failure = Failure::Invalid;
    char message[JMSG_LENGTH_MAX];
    const std::uint8_t* data;
    std::size_t size;
    const JpegLimits* limits;
    RgbImage* out;
};

DecodeJob& jobOf(j_common_ptr cinfo) {
    return *static_cast<DecodeJob*>(cinfo->client_data);
}

[[noreturn]] void fail(j_common_ptr cinfo, Failure failure, const char* text) {
    DecodeJob& job = jobOf(cinfo);
    job.failure = failure;
    std::snprintf(job.message, sizeof job.message, "%s", text);
    std::longjmp(job.jump, 1);
}

[[noreturn]] void onError(j_common_ptr cinfo) {
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    const int code = cinfo->err->msg_code;
    if (code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE) {
        std::snprintf(text, sizeof text, "the decoder would need more than %zu bytes",
                      jobOf(cinfo).limits->maxWorkBytes);
        fail(cinfo, Failure::TooLarge, text);
    }
    fail(cinfo, Failure::Invalid, text);
}

// Level -1 is a warning: libjpeg goes on after corrupt data (a truncated file
// raises nothing else), and would hand back a picture with grey holes. Every
// warning stops the decode. Trace messages (level 0 and up) are dropped.
void onMessage(j_common_ptr cinfo, int level) {
    if (level < 0)
        onError(cinfo);
}

// Nothing is ever printed.
void onOutput(j_common_ptr) {}

// A progressive picture may hold any number of scans, each a pass over the
// whole picture; a crafted file uses that to make a small file cost a long time.
void onProgress(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor)
        return;
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    const int maxScans = jobOf(cinfo).limits->maxScans;
    if (d->input_scan_number > maxScans) {
        char text[JMSG_LENGTH_MAX];
        std::snprintf(text, sizeof text, "more than %d scans", maxScans);
        fail(cinfo, Failure::Invalid, text);
    }
}

void checkSize(j_decompress_ptr cinfo, JDIMENSION width, JDIMENSION height) {
    const JpegLimits& limits = *jobOf(reinterpret_cast<j_common_ptr>(cinfo)).limits;
    const auto maxSide = static_cast<JDIMENSION>(std::max(limits.maxSide, 0));
    const auto pixels = static_cast<std::int64_t>(width) * static_cast<std::int64_t>(height);
    if (width > maxSide || height > maxSide || pixels > limits.maxPixels) {
        char text[JMSG_LENGTH_MAX];
        std::snprintf(text, sizeof text, "%u x %u pixels", static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
        fail(reinterpret_cast<j_common_ptr>(cinfo), Failure::TooLarge, text);
    }
}

// Room for the whole picture, reserved once its size is known and accepted.
// The rows are added one by one as they are decoded, so a file that stops
// early has touched only the memory of the rows it held.
bool reservePixels(RgbImage& image, std::size_t bytes) noexcept {
    try {
        image.pixels.reserve(bytes);
        return true;
    } catch (...) {
        return false;
    }
}

// Adds one row within the reserved room and returns its first byte.
std::uint8_t* appendRow(RgbImage& image) noexcept {
    const std::size_t start = image.pixels.size();
    image.pixels.resize(start + image.rowBytes()); // within capacity: no allocation
    return image.pixels.data() + start;
}

// CMYK (or YCCK, which libjpeg turns into CMYK) to RGB. Pictures with an Adobe
// marker store the inks inverted, as the programs that write CMYK do.
void cmykToRgb(const JSAMPLE* cmyk, std::uint8_t* rgb, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned ink = inverted ? cmyk[c] : 255u - cmyk[c];
            rgb[c] = static_cast<std::uint8_t>((ink * k + 127u) / 255u);
        }
    }
}

// The decode proper. Any error or warning of libjpeg, and any limit passed,
// leaves this function by a jump, so nothing here may need destroying.
void decodeStages(DecodeJob& job) {
    j_decompress_ptr cinfo = &job.cinfo;
    const JpegLimits& limits = *job.limits;

    jpeg_create_decompress(cinfo);
    // libjpeg refuses whole-picture buffers (those of a progressive or
    // multi-scan picture) beyond this instead of allocating them.
    cinfo->mem->max_memory_to_use =
        static_cast<long>(std::min<std::size_t>(limits.maxWorkBytes, LONG_MAX));
    cinfo->progress = &job.progress;
    // Beyond what libjpeg can address the input reads as cut short.
    jpeg_mem_src(cinfo, job.data,
                 static_cast<unsigned long>(std::min<std::uintmax_t>(job.size, ULONG_MAX)));

    jpeg_read_header(cinfo, TRUE);
    checkSize(cinfo, cinfo->image_width, cinfo->image_height);

    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB; // greyscale is widened by libjpeg
    jpeg_start_decompress(cinfo);

    const JDIMENSION width = cinfo->output_width;
    const JDIMENSION height = cinfo->output_height;
    checkSize(cinfo, width, height);
    if (width == 0 || height == 0 || cinfo->output_components != (cmyk ? 4 : 3))
        fail(reinterpret_cast<j_common_ptr>(cinfo), Failure::Invalid, "unsupported picture");

    RgbImage& image = *job.out;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    if (!reservePixels(image, image.rowBytes() * height)) {
        char text[JMSG_LENGTH_MAX];
        std::snprintf(text, sizeof text, "%u x %u pixels: out of memory",
                      static_cast<unsigned>(width), static_cast<unsigned>(height));
        fail(reinterpret_cast<j_common_ptr>(cinfo), Failure::TooLarge, text);
    }

    // CMYK rows go through a row of libjpeg's own, freed with the decoder.
    JSAMPARRAY inkRow = nullptr;
    if (cmyk)
        inkRow = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                             width * 4, 1);

    while (cinfo->output_scanline < height) {
        std::uint8_t* target = appendRow(image);
        JSAMPROW row = cmyk ? inkRow[0] : target;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1)
            fail(reinterpret_cast<j_common_ptr>(cinfo), Failure::Invalid, "missing rows");
        if (cmyk)
            cmykToRgb(inkRow[0], target, width, cinfo->saw_Adobe_marker);
    }
    jpeg_finish_decompress(cinfo);
}

// Returns false when the decode stopped; job.failure and job.message say why.
bool runDecoder(DecodeJob& job) {
    job.cinfo.err = jpeg_std_error(&job.errorManager);
    job.errorManager.error_exit = onError;
    job.errorManager.emit_message = onMessage;
    job.errorManager.output_message = onOutput;
    job.progress.progress_monitor = onProgress;
    job.cinfo.client_data = &job;

    if (setjmp(job.jump) != 0) {
        // Safe at any stage: before jpeg_create_decompress cinfo.mem is null.
        jpeg_destroy_decompress(&job.cinfo);
        return false;
    }
    decodeStages(job);
    jpeg_destroy_decompress(&job.cinfo);
    return true;
}

[[noreturn]] void throwTooLargeFile(const std::string& path, std::size_t maxBytes) {
    throw FileError("JPEG picture too large (file over " + std::to_string(maxBytes) + " bytes)",
                    path);
}

std::vector<std::uint8_t> readFileBytes(const std::string& path, std::size_t maxBytes) {
    // A regular file's size is known before anything is read.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::uintmax_t>(st.st_size) > maxBytes)
        throwTooLargeFile(path, maxBytes);
    std::vector<std::uint8_t> bytes;
    readChunks(path, [&](const char* chunk, std::size_t n) {
        // A picture begins with its start marker: anything else (a device
        // of zeros, a sparse file, a text) is refused at its first bytes, as
        // the decoder would refuse it, without reading on to the bound.
        if (bytes.empty() && n >= 2 &&
            (static_cast<std::uint8_t>(chunk[0]) != 0xFF ||
             static_cast<std::uint8_t>(chunk[1]) != 0xD8)) {
            char start[64];
            std::snprintf(start, sizeof start, "Not a JPEG file: starts with 0x%02x 0x%02x",
                          static_cast<unsigned>(static_cast<std::uint8_t>(chunk[0])),
                          static_cast<unsigned>(static_cast<std::uint8_t>(chunk[1])));
            throw FileError("Invalid JPEG file (" + std::string(start) + ")", path);
        }
        if (bytes.size() + n > maxBytes)
            throwTooLargeFile(path, maxBytes);
        bytes.insert(bytes.end(), reinterpret_cast<const std::uint8_t*>(chunk),
                     reinterpret_cast<const std::uint8_t*>(chunk) + n);
        return true;
    });
    return bytes;
}

} // namespace

RgbImage decodeJpeg(std::span<const std::uint8_t> bytes, const std::string& name,
                    const JpegLimits& limits) {
    if (bytes.empty())
        throw FileError("Invalid JPEG file (empty file)", name);
    RgbImage image;
    DecodeJob job{};
    job.data = bytes.data();
    job.size = bytes.size();
    job.limits = &limits;
    job.out = &image;
    if (!runDecoder(job)) {
        if (job.failure == Failure::TooLarge)
            throw FileError("JPEG picture too large (" + std::string(job.message) + ")", name);
        throw FileError("Invalid JPEG file (" + std::string(job.message) + ")", name);
    }
    return image;
}

RgbImage readJpegFile(const std::string& path, const JpegLimits& limits) {
    const std::vector<std::uint8_t> bytes = readFileBytes(path, limits.maxFileBytes);
    return decodeJpeg(std::span<const std::uint8_t>(bytes), path, limits);
}

} // namespace camini
