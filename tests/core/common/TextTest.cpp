#include "common/Clock.h"
#include "common/Cp1252.h"
#include "common/FileError.h"
#include "common/TextFile.h"
#include "engine/Worksheet.h"
#include "forms/ProjectFile.h"
#include "materials/SizeCatalogue.h"
#include "support/TestSupport.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace camini;
using camini::test::TempDir;

TEST(Cp1252, ConvertsBothWays) {
    using Pair = std::pair<std::string_view, std::string_view>;
    // The five bytes CP1252 leaves undefined become '?'.
    const Pair toCases[] = {{"T \xB0", "T \xC2\xB0"},
                            {"conducibilit\xE0", "conducibilit\xC3\xA0"},
                            {"\x80", "\xE2\x82\xAC"},
                            {"\x81", "?"}};
    for (const auto& [cp1252, utf8] : toCases)
        EXPECT_EQ(toUtf8(cp1252), utf8) << ::testing::PrintToString(std::string(cp1252));
    // One byte for each character, one '?' for each character CP1252 has not
    // and for each byte of a malformed sequence: a lead byte without its
    // continuation, or one that only begins overlong or out-of-range forms.
    const Pair fromCases[] = {
        {"T \xC2\xB0", "T \xB0"},    {"\xE2\x82\xAC", "\x80"},  {"\xE4\xB8\xAD", "?"},
        {"\xF0\x9F\x98\x80!", "?!"}, {"a\xC3 b", "a? b"},       {"\xC0\xB0", "??"},
        {"\xC1\xBF", "??"},          {"\xDF\xBF", "?"},         {"\xE0\xA0\x80", "?"},
        {"\xEF\xBF\xBD", "?"},       {"\xF4\x8F\xBF\xBF", "?"}, {"\xF5\x80\x80\x80", "????"},
        {"\xFF\xFE", "??"},
    };
    for (const auto& [utf8, cp1252] : fromCases)
        EXPECT_EQ(fromUtf8(utf8), cp1252) << ::testing::PrintToString(std::string(utf8));
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D)
            all.push_back(static_cast<char>(b));
    EXPECT_EQ(fromUtf8(toUtf8(all)), all);
}

// Control bytes from files become '?' where they are shown; tab, line feed
// and every other byte stay.
TEST(Cp1252, PrintableTextReplacesControlBytes) {
    using Pair = std::pair<std::string_view, std::string_view>;
    const Pair cases[] = {
        {"titolo \x1B[31mrosso", "titolo ?[31mrosso"},
        {"a\177b", "a?b"},
        {"\r\x01\x1F", "???"},
        {"riga 1\nriga 2\tfine", "riga 1\nriga 2\tfine"},
        {"T \260C \xC2\xB0 \x80\xFF", "T \260C \xC2\xB0 \x80\xFF"}, // the degree sign and others
        {"", ""},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(printableText(text), shown) << ::testing::PrintToString(std::string(text));
}

// The bytes in memory split as a file of them reads, and the head of a file
// ends at the last line a format asks for.
TEST(TextFile, SplitsBytesAsTheFileReads) {
    struct Case {
        std::string bytes;
        std::size_t maxLines;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", 100, {"a", "b"}},
        {"a\nb\n", 100, {"a", "b"}},
        {"a\r\n\r\nc", 100, {"a", "", "c"}},
        {"\r\n", 100, {""}},
        {"x\ry\n", 100, {"x\ry"}},
        {std::string("a\0b\nc\nd\n", 8), 2, {std::string("a\0b", 3), "c"}},
        {"a\nb\nc", 2, {"a", "b"}},
        {"a\r", 100, {"a"}},
        {"\r", 100, {""}},
        {"x\r\r\n", 100, {"x\r"}},
        {"a\n\n", 100, {"a", ""}},
        {"", 100, {}},
        {"a\nb", 0, {}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        EXPECT_EQ(splitTextLines(c.bytes, c.maxLines), c.lines) << c.bytes;
        test::writeFile(dir.file("f"), c.bytes);
        EXPECT_EQ(readTextLines(dir.file("f"), c.maxLines, 1000), c.lines) << c.bytes;
    }
    test::writeFile(dir.file("g"), "one\ntwo\r\nthree\nfour");
    EXPECT_EQ(readTextHead(dir.file("g"), 2, 1000), "one\ntwo\r\n");
    EXPECT_EQ(readTextHead(dir.file("g"), 9, 1000), "one\ntwo\r\nthree\nfour");
    EXPECT_EQ(readTextHead(dir.file("g"), 0, 1000), "");
    EXPECT_THROW(readTextHead(dir.file("missing"), 3, 1000), FileError);
}

// A file that may not be read, as an unprivileged user.
TEST(TextFile, ReportsThePlatformText) {
    TempDir dir;
    test::writeFile(dir.file("secret"), "x\n");
    ::chmod(dir.file("secret").c_str(), 0);
    int rc = test::runInChild(
        [&] {
            try {
                readTextLines(dir.file("secret"), 1, 1000);
            } catch (const FileError& e) {
                return e.text() == "File access denied" ? 0 : 2;
            }
            return 1;
        },
        true);
    EXPECT_EQ(rc, 0);
}

TEST(FileErrorText, NamesTheCommonFailures) {
    const std::pair<int, const char*> texts[] = {
        {ENOENT, "File not found"},
        {EACCES, "File access denied"},
        {EPERM, "File access denied"},
        {ENOSPC, "Disk full"},
        {EDQUOT, "Disk full"},
        {EISDIR, "Is a directory"},
        {ENOTDIR, "Not a directory"},
        {ENAMETOOLONG, "File name too long"},
        {ELOOP, "Too many links"},
        {EMLINK, "Too many links"},
        {EROFS, "Read-only file system"},
    };
    for (const auto& [number, text] : texts)
        EXPECT_EQ(FileError::platformText(number), text) << number;
    // The text is CP1252; what() says it in UTF-8, the error box in CP1252.
    const FileError own("la cartella \xE8 piena", "/tmp/a.txt");
    EXPECT_EQ(std::string(own.what()), "la cartella \xC3\xA8 piena: /tmp/a.txt");
    EXPECT_EQ(fileErrorText(own), "la cartella \xE8 piena: /tmp/a.txt");
}

// A failed save or read says what failed and names the path.
TEST(FileErrorText, SaysWhatFailedAndWhere) {
    TempDir dir;
    test::writeFile(dir.file("unfile"), "x");
    ::symlink("loop2", dir.file("loop1").c_str());
    ::symlink("loop1", dir.file("loop2").c_str());
    struct Case {
        std::string path;
        bool save;
        std::string error;
    };
    const Case cases[] = {
        {dir.file("unfile/a.txt"), true, "Not a directory"},
        {dir.file("unfile/a.txt"), false, "Not a directory"},
        {dir.path(), true, "Is a directory"},
        {dir.path(), false, "Is a directory"},
        {dir.file(std::string(256, 'n')), true, "File name too long"},
        {dir.file(std::string(256, 'n')), false, "File name too long"},
        {dir.file("loop1"), true, "Too many links"},
        {dir.file("loop1"), false, "Too many links"},
        {dir.file("manca/a.txt"), true, "File not found"},
        {dir.file("manca.txt"), false, "File not found"},
    };
    for (const Case& c : cases) {
        try {
            if (c.save)
                replaceFileSafely(c.path, "x");
            else
                readTextHead(c.path, 18, 1000);
            ADD_FAILURE() << c.path;
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()), c.error + ": " + c.path) << c.save;
        }
    }
}

TEST(Clock, WritesItalianShortDateAndLongTime) {
    EXPECT_EQ(formatDateTime(test::fixedClock()()), "08/12/2026 14:05:09");
    std::tm t = test::fixedClock()();
    t.tm_mday = 31;
    t.tm_mon = 0;
    t.tm_hour = 0;
    EXPECT_EQ(formatDateTime(t), "31/01/2026 00:05:09");
}

// The head of a file is read up to its bound in bytes, and refused past it,
// naming the line that does not end within it.
TEST(TextFile, ReadsTheHeadWithinItsBound) {
    struct Case {
        std::string bytes;
        std::size_t maxLines;
        std::size_t maxBytes;
        std::string head; // or the error's text
    };
    const Case cases[] = {
        {"ab\ncd\n", 2, 6, "ab\ncd\n"},
        {"ab\ncd\nef and more", 2, 6, "ab\ncd\n"},
        {"abcdef", 1, 6, "abcdef"},
        {"ab\ncd\n", 2, 5, "File too large (line 2 does not end within 5 bytes)"},
        {"abcdefg", 1, 6, "File too large (line 1 does not end within 6 bytes)"},
        {"a\nb\nc\nd", 9, 5, "File too large (line 3 does not end within 5 bytes)"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        test::writeFile(dir.file("f"), c.bytes);
        try {
            EXPECT_EQ(readTextHead(dir.file("f"), c.maxLines, c.maxBytes), c.head) << c.bytes;
        } catch (const FileError& e) {
            EXPECT_EQ(e.text(), c.head) << c.bytes;
            EXPECT_EQ(e.path(), dir.file("f"));
        }
    }
}

// Inputs without end (a device of zeros, a sparse file of 2 GB, a pipe fed
// for ever) are refused by every reader at its bound, and what a save would
// write beyond it is refused before anything is written.
TEST(TextFile, EveryReaderRefusesAnEndlessInput) {
    TempDir dir;
    {
        const int fd = ::open(dir.file("sparse").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_EQ(::ftruncate(fd, 2L << 30), 0);
        ::close(fd);
    }
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t feeder = ::fork();
    if (feeder == 0) {
        ::close(pipeEnds[0]);
        const std::string chunk(4096, 'x');
        while (::write(pipeEnds[1], chunk.data(), chunk.size()) > 0) {
        }
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    const std::string endlessPipe = "/dev/fd/" + std::to_string(pipeEnds[0]);

    using Reader = std::function<void(const std::string&)>;
    const std::pair<Reader, const char*> readers[] = {
        {[](const std::string& p) {
             Worksheet sheet;
             test::RecordingMessages messages;
             loadProject(p, sheet, test::constantArchive(), messages);
         },
         "1048576"},
        {[](const std::string& p) { MaterialArchive(p).load(); }, "4194304"},
        {[](const std::string& p) { SizeCatalogue(p).load(); }, "1048576"},
    };
    for (const auto& [read, bound] : readers) {
        for (const std::string& path :
             {std::string("/dev/zero"), dir.file("sparse"), endlessPipe}) {
            try {
                read(path);
                ADD_FAILURE() << path;
            } catch (const FileError& e) {
                EXPECT_EQ(std::string(e.what()), std::string("File too large (line 1 does not end "
                                                             "within ") +
                                                     bound + " bytes): " + path);
            }
        }
    }
    ::close(pipeEnds[0]);
    ::kill(feeder, SIGKILL);
    ::waitpid(feeder, nullptr, 0);

    Worksheet sheet;
    setStartProject(sheet);
    sheet.projectTitle = std::string(1u << 20, 't');
    try {
        saveProject(sheet, dir.file("p.CAM"));
        ADD_FAILURE() << "a project too large to be read back was saved";
    } catch (const FileError& e) {
        EXPECT_EQ(e.text(), "File too large (1048649 bytes, over the 1048576 it may hold)");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("p.CAM")));
}
