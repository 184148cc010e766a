#include "common/JpegImage.h"
#include "common/FileError.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <jpeglib.h>

using namespace camini;
using camini::test::TempDir;

namespace {

std::string shippedPicture(const std::string& name) {
    return test::sourceDir() + "/data/" + name;
}

// The bytes of a JPEG picture written by libjpeg: width x height pixels of
// `components` samples each, given by sample(x, y, component).
struct Encoding {
    int width = 16;
    int height = 16;
    int components = 3;
    J_COLOR_SPACE space = JCS_RGB;
    bool progressive = false;
    int quality = 100;
};

std::string encodeJpeg(const Encoding& e, const std::function<int(int, int, int)>& sample) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(e.width);
    cinfo.image_height = static_cast<JDIMENSION>(e.height);
    cinfo.input_components = e.components;
    cinfo.in_color_space = e.space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, e.quality, TRUE);
    if (e.progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(e.width * e.components));
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < e.width; ++x)
            for (int c = 0; c < e.components; ++c)
                row[static_cast<std::size_t>(x * e.components + c)] =
                    static_cast<JSAMPLE>(sample(x, y, c));
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

// Offset of the first marker `code` (the byte after 0xFF), npos when absent.
std::size_t findMarker(const std::string& bytes, unsigned char code) {
    for (std::size_t i = 2; i + 1 < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) == 0xFF &&
            static_cast<unsigned char>(bytes[i + 1]) == code)
            return i;
    return std::string::npos;
}

// The entropy-coded data of a single-scan picture: from after the SOS
// segment to the EOI marker.
std::pair<std::size_t, std::size_t> entropyData(const std::string& bytes) {
    const std::size_t sos = findMarker(bytes, 0xDA);
    const std::size_t length = static_cast<unsigned char>(bytes[sos + 2]) * 256u +
                               static_cast<unsigned char>(bytes[sos + 3]);
    const std::size_t begin = sos + 2 + length;
    const std::size_t end = bytes.rfind("\xFF\xD9");
    return {begin, end};
}

FileError decodeError(const std::function<void()>& decode) {
    try {
        decode();
    } catch (const FileError& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return FileError("", "");
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

TEST(JpegImage, ShippedPicturesDecode) {
    struct Case {
        const char* name;
        int width;
        int height;
    };
    const Case cases[] = {{"sezione1.jpg", 900, 600}, {"sezione2.jpg", 900, 600}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RgbImage image = readJpegFile(shippedPicture(c.name));
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(c.width * c.height * 3));
        // The background near a corner is nearly white; the flue, below its
        // name, is grey (R, G, B close together and well below white).
        const std::uint8_t* corner = image.pixel(20, 580);
        EXPECT_GT(corner[0], 235);
        EXPECT_GT(corner[1], 235);
        EXPECT_GT(corner[2], 235);
        const std::uint8_t* flue = image.pixel(300, 385);
        for (int k = 0; k < 3; ++k) {
            EXPECT_GT(flue[k], 130);
            EXPECT_LT(flue[k], 190);
        }
        // The same bytes decoded from memory give the same picture.
        const RgbImage fromMemory =
            decodeJpeg(test::readFile(shippedPicture(c.name)), std::string("memory"));
        EXPECT_EQ(fromMemory.width, image.width);
        EXPECT_EQ(fromMemory.height, image.height);
        EXPECT_EQ(fromMemory.pixels, image.pixels);
        // The build copies them beside the executables.
        EXPECT_EQ(test::readFile(test::binDir() + "/" + c.name),
                  test::readFile(shippedPicture(c.name)));
    }
}

// Every one of these is an error carrying the path; none ends the process (an
// exit from inside the decoder would end this test program).
TEST(JpegImage, BadFilesAreErrors) {
    TempDir dir;
    const std::string good = test::readFile(shippedPicture("sezione1.jpg"));
    const auto [entropyBegin, entropyEnd] = entropyData(good);
    ASSERT_LT(entropyBegin + 1000, entropyEnd);

    std::string corrupt = good;
    const std::size_t middle = (entropyBegin + entropyEnd) / 2;
    for (std::size_t i = 0; i < 64; ++i)
        corrupt[middle + i] = static_cast<char>(i % 2 ? 0x5A : 0xC3);

    std::string tooWide = encodeJpeg(Encoding{}, [](int, int, int) { return 128; });
    // SOF0: FF C0, length (2), precision (1), height (2), width (2).
    const std::size_t sof = findMarker(tooWide, 0xC0);
    ASSERT_NE(sof, std::string::npos);
    tooWide[sof + 5] = static_cast<char>(0x75); // height 30000
    tooWide[sof + 6] = static_cast<char>(0x30);
    tooWide[sof + 7] = static_cast<char>(0x75); // width 30000
    tooWide[sof + 8] = static_cast<char>(0x30);

    struct Case {
        const char* name;
        std::string bytes; // written to the file, unless the case is a folder
        bool folder;
        std::string text; // expected text, or its start when it ends in '(' or ':'
    };
    const Case cases[] = {
        {"folder", "", true, FileError::platformText(EISDIR)},
        {"empty", "", false, "Invalid JPEG file (empty file)"},
        {"text", "titolo progetto\r\nesempio 1\r\n", false, "Invalid JPEG file ("},
        {"truncated", good.substr(0, good.size() / 2), false,
         "Invalid JPEG file (Premature end of JPEG file)"},
        {"header only", good.substr(0, entropyBegin), false, "Invalid JPEG file ("},
        {"no end marker", good.substr(0, good.size() - 2), false, "Invalid JPEG file ("},
        {"corrupt data", corrupt, false, "Invalid JPEG file (Corrupt JPEG data:"},
        {"two bytes", "\xFF\xD8", false, "Invalid JPEG file ("},
        {"absurd size", tooWide, false, "JPEG picture too large (30000 x 30000 pixels)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        if (c.folder)
            ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
        else
            test::writeFile(path, c.bytes);
        const FileError e = decodeError([&] { readJpegFile(path); });
        if (c.text.back() == '(' || c.text.back() == ':')
            EXPECT_TRUE(startsWith(e.text(), c.text)) << e.text();
        else
            EXPECT_EQ(e.text(), c.text);
        EXPECT_EQ(e.path(), path);
        // The same bytes from memory give the same verdict, under the name given.
        if (!c.folder) {
            const FileError m = decodeError([&] { decodeJpeg(c.bytes, std::string("buffer")); });
            EXPECT_EQ(m.text(), e.text());
            EXPECT_EQ(m.path(), "buffer");
        }
    }
}

// Refused at once, before any decoding: a missing file; a device of zeros at
// its first bytes, as the decoder refuses them; a sparse file of 2 GB and a
// picture one byte over the bound by their size. At its bound it decodes.
TEST(JpegImage, WhatCannotBeAPictureIsRefusedAtOnce) {
    TempDir dir;
    test::writeFile(dir.file("sparse.jpg"), "");
    ASSERT_EQ(::truncate(dir.file("sparse.jpg").c_str(), 2L << 30), 0);
    const std::string picture = shippedPicture("sezione1.jpg");
    const std::size_t size = test::readFile(picture).size();
    const std::size_t bound = JpegLimits{}.maxFileBytes;
    struct Case {
        std::string path;
        std::size_t maxFileBytes;
        std::string text; // empty: decodes
    };
    const Case cases[] = {
        {dir.file("sezione1.jpg"), bound, "File not found"},
        {"/dev/zero", bound, "Invalid JPEG file (Not a JPEG file: starts with 0x00 0x00)"},
        {dir.file("sparse.jpg"), bound, "JPEG picture too large (file over 268435456 bytes)"},
        {picture, size - 1,
         "JPEG picture too large (file over " + std::to_string(size - 1) + " bytes)"},
        {picture, size, ""},
    };
    for (const Case& c : cases) {
        JpegLimits limits;
        limits.maxFileBytes = c.maxFileBytes;
        if (c.text.empty()) {
            EXPECT_EQ(readJpegFile(c.path, limits).width, 900);
            continue;
        }
        const FileError e = decodeError([&] { readJpegFile(c.path, limits); });
        EXPECT_EQ(e.text(), c.text);
        EXPECT_EQ(e.path(), c.path);
    }
}

TEST(JpegImage, FileWithoutReadPermissionIsAccessDenied) {
    TempDir dir;
    const std::string path = dir.file("locked.jpg");
    test::writeFile(path, test::readFile(shippedPicture("sezione2.jpg")));
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0); // "nobody" must reach the file
    const int status = test::runInChild(
        [&] {
            try {
                readJpegFile(path);
            } catch (const FileError& e) {
                return e.text() == "File access denied" && e.path() == path ? 0 : 2;
            }
            return 3;
        },
        true);
    EXPECT_EQ(status, 0);
}

TEST(JpegImage, GreyscaleComesOutAsRgb) {
    Encoding e;
    e.width = 40;
    e.height = 30;
    e.components = 1;
    e.space = JCS_GRAYSCALE;
    auto level = [](int x, int y) { return (x * 6 + y * 2) % 256; };
    const RgbImage image = decodeJpeg(encodeJpeg(e, [&](int x, int y, int) { return level(x, y); }),
                                      std::string("grey"));
    ASSERT_EQ(image.width, 40);
    ASSERT_EQ(image.height, 30);
    ASSERT_EQ(image.pixels.size(), 40u * 30u * 3u);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const std::uint8_t* p = image.pixel(x, y);
            ASSERT_EQ(p[0], p[1]) << x << "," << y;
            ASSERT_EQ(p[1], p[2]) << x << "," << y;
            ASSERT_NEAR(p[0], level(x, y), 3) << x << "," << y;
        }
}

TEST(JpegImage, ColourPicturesKeepTheirColours) {
    struct Case {
        const char* name;
        Encoding encoding;
        int ink[4]; // the samples written, the same for every pixel
        int rgb[3]; // the colour expected
    };
    // CMYK with an Adobe marker (libjpeg writes one) holds inverted inks:
    // full cyan is stored as 0, no black as 255.
    const Case cases[] = {
        {"rgb", {24, 16, 3, JCS_RGB, false, 95}, {200, 40, 90, 0}, {200, 40, 90}},
        {"rgb progressive", {24, 16, 3, JCS_RGB, true, 95}, {30, 160, 220, 0}, {30, 160, 220}},
        {"cmyk", {24, 16, 4, JCS_CMYK, false, 95}, {0, 255, 255, 255}, {0, 255, 255}},
        {"cmyk half black", {24, 16, 4, JCS_CMYK, false, 95}, {255, 255, 0, 128}, {128, 128, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RgbImage image = decodeJpeg(
            encodeJpeg(c.encoding, [&](int, int, int k) { return c.ink[k]; }), std::string(c.name));
        ASSERT_EQ(image.width, 24);
        ASSERT_EQ(image.height, 16);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(image.pixel(11, 7)[k], c.rgb[k], 4) << k;
    }
}

TEST(JpegImage, LimitsAreKept) {
    Encoding plain;
    plain.width = 256;
    plain.height = 192;
    Encoding progressive = plain;
    progressive.progressive = true;
    auto pattern = [](int x, int y, int c) { return (x * 7 + y * 13 + c * 50) % 256; };
    const std::string plainBytes = encodeJpeg(plain, pattern);
    const std::string progressiveBytes = encodeJpeg(progressive, pattern);

    struct Case {
        const char* name;
        const std::string* bytes;
        JpegLimits limits;
        std::string text; // empty: decodes
    };
    auto limits = [](auto change) {
        JpegLimits l;
        change(l);
        return l;
    };
    const Case cases[] = {
        {"defaults", &plainBytes, {}, ""},
        {"defaults, progressive", &progressiveBytes, {}, ""},
        {"exact size", &plainBytes, limits([](JpegLimits& l) {
             l.maxSide = 256;
             l.maxPixels = 256 * 192;
         }),
         ""},
        {"too wide", &plainBytes, limits([](JpegLimits& l) { l.maxSide = 255; }),
         "JPEG picture too large (256 x 192 pixels)"},
        {"too many pixels", &plainBytes, limits([](JpegLimits& l) { l.maxPixels = 256 * 192 - 1; }),
         "JPEG picture too large (256 x 192 pixels)"},
        {"too many scans", &progressiveBytes, limits([](JpegLimits& l) { l.maxScans = 2; }),
         "Invalid JPEG file (more than 2 scans)"},
        // The coefficients of a progressive picture are kept whole: about
        // 150 kB here.
        {"decoder memory", &progressiveBytes, limits([](JpegLimits& l) { l.maxWorkBytes = 65536; }),
         "JPEG picture too large (the decoder would need more than 65536 bytes)"},
        {"decoder memory, single scan", &plainBytes,
         limits([](JpegLimits& l) { l.maxWorkBytes = 65536; }), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.text.empty()) {
            const RgbImage image = decodeJpeg(*c.bytes, std::string(c.name), c.limits);
            EXPECT_EQ(image.width, 256);
            EXPECT_EQ(image.height, 192);
            continue;
        }
        const FileError e =
            decodeError([&] { decodeJpeg(*c.bytes, std::string(c.name), c.limits); });
        if (c.text.back() == '(')
            EXPECT_TRUE(startsWith(e.text(), c.text)) << e.text();
        else
            EXPECT_EQ(e.text(), c.text);
    }
}
