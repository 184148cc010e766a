#include "common/FileError.h"
#include "common/TextFile.h"
#include "engine/Worksheet.h"
#include "forms/ProjectFile.h"
#include "support/TestSupport.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <random>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace camini;
using camini::test::TempDir;

namespace {

// Under the sanitizers a fork costs some ten times more: the crash test
// kills a third as often there, to stay within a few seconds.
#if defined(__SANITIZE_ADDRESS__)
#define CAMINI_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CAMINI_TEST_SANITIZED 1
#endif
#endif
#if defined(CAMINI_TEST_SANITIZED)
constexpr int KillShare = 3;
#else
constexpr int KillShare = 1;
#endif

constexpr uid_t Nobody = 65534;
constexpr gid_t NoGroup = 65534;
constexpr gid_t Users = 100;

// Becomes "nobody" in the groups given (the first one its own), so that
// the permission checks apply although the tests run as root.
bool becomeNobody(std::vector<gid_t> groups) {
    return ::setgroups(groups.size(), groups.data()) == 0 && ::setgid(groups.front()) == 0 &&
           ::setuid(Nobody) == 0;
}

// The names in a folder, sorted.
std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// What the FileError a call throws says, with the path it names; "" when
// the call succeeds.
std::string failure(const std::function<void()>& call) {
    try {
        call();
    } catch (const FileError& e) {
        return e.text() + ": " + e.path();
    }
    return "";
}

// The same in a child: as nobody in `groups` (the first one its own) unless
// none are given, its files limited to `sizeLimit` bytes.
std::string failureInChild(const std::function<void()>& call, std::vector<gid_t> groups = {},
                           rlim_t sizeLimit = RLIM_INFINITY) {
    int out[2];
    if (::pipe(out) != 0)
        return "pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{sizeLimit, sizeLimit};
        std::string text = "setuid";
        if ((sizeLimit == RLIM_INFINITY || ::setrlimit(RLIMIT_FSIZE, &limit) == 0) &&
            (groups.empty() || becomeNobody(groups))) {
            try {
                text = failure(call);
            } catch (...) {
                text = "not a FileError";
            }
        }
        (void)!::write(out[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(out[1]);
    std::string text;
    char buf[512];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    ::close(out[0]);
    ::waitpid(pid, nullptr, 0);
    return text;
}

// A save as nobody in `groups`.
std::string saveAsNobody(const std::string& path, const std::string& content,
                         std::vector<gid_t> groups = {NoGroup}) {
    return failureInChild([&] { replaceFileSafely(path, content); }, std::move(groups));
}

} // namespace

TEST(SafeReplace, FollowsASymbolicLinkAndKeepsIt) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    test::writeFile(dir.file("real/target.txt"), "old");
    ::symlink("real/target.txt", dir.file("link.txt").c_str());
    replaceFileSafely(dir.file("link.txt"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(test::readFile(dir.file("real/target.txt")), "new");
}

// A failed save leaves the old file whole and no new file, nor a temporary
// one. A file that may be written in a folder that takes no new file is not
// written in place, where a failure half-way would leave it cut. After the
// rename the folder is flushed; a folder that cannot be opened for it fails
// the save, the new file in place.
TEST(SafeReplace, AFailedSaveLeavesTheOldFileWhole) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0); // "nobody" must reach the folders
    const std::string r = dir.path() + "/";
    for (const char* folder : {"folder", "locked", "unreadable"})
        std::filesystem::create_directory(r + folder);
    test::writeFile(r + "a.txt", "old\r\n");
    test::writeFile(r + "locked/w.txt", "old\r\n");
    ::chmod((r + "a.txt").c_str(), 0444);
    ::chmod((r + "locked/w.txt").c_str(), 0666);
    ::chmod((r + "locked").c_str(), 0555);
    ::chmod((r + "unreadable").c_str(), 0333);
    struct Case {
        const char* what;
        std::string file;
        std::size_t size; // of the new content
        bool asNobody;
        rlim_t sizeLimit;
        std::string error;
        const char* after; // the file's content, nullptr for none
    };
    const std::string unsafe = " non permette di salvare in sicurezza (non vi si possono "
                               "creare file nuovi) e il file resta com'era: ";
    const Case cases[] = {
        {"a folder in place of the file", r + "folder", 1, false, RLIM_INFINITY,
         "Is a directory: " + r + "folder", nullptr},
        {"the disk fills part-way", r + "a.txt", 10000, false, 4, "File too large: " + r + "a.txt",
         "old\r\n"},
        {"a read-only file", r + "a.txt", 3, true, RLIM_INFINITY,
         "File access denied: " + r + "a.txt", "old\r\n"},
        {"a new file in a read-only folder", r + "locked/b.txt", 3, true, RLIM_INFINITY,
         "File access denied: " + r + "locked/b.txt", nullptr},
        {"a writable file in a read-only folder", r + "locked/w.txt", 5, true, 64,
         "la cartella " + r + "locked" + unsafe + r + "locked/w.txt", "old\r\n"},
        {"the same, past the size limit", r + "locked/w.txt", 10000, true, 64,
         "la cartella " + r + "locked" + unsafe + r + "locked/w.txt", "old\r\n"},
        {"a folder that cannot be flushed", r + "unreadable/a.txt", 3, true, RLIM_INFINITY,
         "File access denied: " + r + "unreadable/a.txt", "xxx"},
    };
    for (const Case& c : cases) {
        const std::string error = failureInChild(
            [&] { replaceFileSafely(c.file, std::string(c.size, 'x')); },
            c.asNobody ? std::vector<gid_t>{NoGroup} : std::vector<gid_t>{}, c.sizeLimit);
        EXPECT_EQ(error, c.error) << c.what;
        if (c.after) {
            EXPECT_EQ(test::readFile(c.file), c.after) << c.what;
        }
    }
    EXPECT_EQ(entries(r), (std::vector<std::string>{"a.txt", "folder", "locked", "unreadable"}));
    EXPECT_EQ(entries(r + "folder"), std::vector<std::string>{});
    EXPECT_EQ(entries(r + "locked"), std::vector<std::string>{"w.txt"});
    EXPECT_EQ(entries(r + "unreadable"), std::vector<std::string>{"a.txt"});
}

// The old file's permission bits and group are kept where the saving process
// may set them; another user's file is not taken over, unless by root, who
// keeps its owner.
TEST(SafeReplace, KeepsModeGroupAndOwnerOrRefuses) {
    struct Case {
        const char* what;
        uid_t owner;
        gid_t group;
        mode_t mode;
        std::vector<gid_t> saverGroups; // none: root saves
        const char* error;              // "" for a save that succeeds
        uid_t newOwner;
        gid_t newGroup;
    };
    const char* notTaken = "il file \xE8 dell'utente root e salvarlo come nobody ne cambierebbe "
                           "il proprietario, quindi resta com'era";
    const std::vector<gid_t> both{NoGroup, Users};
    const Case cases[] = {
        {"root keeps owner and group", Nobody, Users, 0640, {}, "", Nobody, Users},
        {"the owner keeps a group he is in", Nobody, Users, 0664, both, "", Nobody, Users},
        {"a group the owner is not in", Nobody, 0, 0604, {NoGroup}, "", Nobody, NoGroup},
        {"another user's file", 0, Users, 0666, both, notTaken, 0, Users},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string file = dir.file("a.txt");
        test::writeFile(file, "old");
        ASSERT_EQ(::chown(file.c_str(), c.owner, c.group), 0);
        ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
        const std::string error =
            failureInChild([&] { replaceFileSafely(file, "new"); }, c.saverGroups);
        EXPECT_EQ(error, *c.error ? c.error + (": " + file) : "") << c.what;
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(test::readFile(file), *c.error ? "old" : "new") << c.what;
        EXPECT_EQ(st.st_uid, c.newOwner) << c.what;
        EXPECT_EQ(st.st_gid, c.newGroup) << c.what;
        EXPECT_EQ(st.st_mode & 07777, c.mode) << c.what;
        EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"a.txt"}) << c.what;
    }
}

// A file left under a save's link name is removed by the next save; one
// that may not be removed (another user's, in a folder that keeps each
// user's files) is left alone and the save takes a name of its own.
TEST(SafeReplace, AFileUnderTheLinkNameDoesNotStopTheSave) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 01777);
    const std::string linkName = dir.file(".camini-7ed582b5571bbd5a"); // that of a.txt
    for (const uid_t leftBy : {Nobody, uid_t{0}}) {
        test::writeFile(dir.file("a.txt"), "old");
        ASSERT_EQ(::chown(dir.file("a.txt").c_str(), Nobody, NoGroup), 0);
        test::writeFile(linkName, "left");
        ASSERT_EQ(::chown(linkName.c_str(), leftBy, leftBy), 0);
        EXPECT_EQ(saveAsNobody(dir.file("a.txt"), "new"), "") << leftBy;
        EXPECT_EQ(test::readFile(dir.file("a.txt")), "new") << leftBy;
        EXPECT_EQ(std::filesystem::exists(linkName), leftBy == 0) << leftBy;
        EXPECT_EQ(entries(dir.path()).size(), leftBy == 0 ? 2u : 1u) << leftBy;
    }
}

// A file that may be written but not replaced (append-only, so no other
// file may take its name): the rename fails, the old file stays whole and the
// new contents go with the failed save, both ways of making them.
TEST(SafeReplace, ARenameThatFailsLeavesNoNewFileBehind) {
    TempDir dir;
    const std::string file = dir.file("a.txt");
    test::writeFile(file, "old");
    auto appendOnly = [&](bool on) {
        const int fd = ::open(file.c_str(), O_RDONLY);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_APPEND_FL : flags & ~FS_APPEND_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    };
    if (!appendOnly(true))
        GTEST_SKIP() << "no append-only files here";
    for (const TemporaryFile kind : {TemporaryFile::Unnamed, TemporaryFile::Named}) {
        EXPECT_EQ(failure([&] { replaceFileSafely(file, "new", kind); }),
                  "File access denied: " + file);
        EXPECT_EQ(test::readFile(file), "old");
        EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"a.txt"});
    }
    EXPECT_TRUE(appendOnly(false));
}

// A new file is written and an old one replaced, whatever its valid name,
// both ways of making the new contents: the temporary file's name does not
// depend on the file's, and none is left.
TEST(SafeReplace, WritesNewAndReplacesOldFiles) {
    TempDir dir;
    for (const std::size_t length : {1u, 250u, 255u}) {
        for (const TemporaryFile kind : {TemporaryFile::Unnamed, TemporaryFile::Named}) {
            const std::string name(length, 'n');
            replaceFileSafely(dir.file(name), "one\r\n", kind);
            EXPECT_EQ(test::readFile(dir.file(name)), "one\r\n") << length;
            replaceFileSafely(dir.file(name), "two\r\n", kind);
            EXPECT_EQ(test::readFile(dir.file(name)), "two\r\n") << length;
            EXPECT_EQ(entries(dir.path()), std::vector<std::string>{name}) << length;
            std::filesystem::remove(dir.file(name));
        }
    }
}

// A target that is not a regular file is written as it is: a device stays a
// device, a FIFO and a socket pass the content on.
TEST(SafeReplace, WritesDevicesFifosAndSocketsAsTheyAre) {
    TempDir dir;
    ASSERT_EQ(::mknod(dir.file("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(::mknod(dir.file("full").c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    replaceFileSafely(dir.file("null"), "content");
    EXPECT_EQ(failure([&] { replaceFileSafely(dir.file("full"), "content"); }),
              "Disk full: " + dir.file("full"));
    for (const char* device : {"null", "full"}) {
        struct stat st {};
        ASSERT_EQ(::stat(dir.file(device).c_str(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << device;
    }

    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0666), 0);
    const int reader = ::open(dir.file("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    replaceFileSafely(dir.file("fifo"), "through the fifo");
    char buf[64] = {};
    EXPECT_EQ(::read(reader, buf, sizeof buf), 16);
    EXPECT_STREQ(buf, "through the fifo");
    ::close(reader);

    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", dir.file("socket").c_str());
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    replaceFileSafely(dir.file("socket"), "through the socket");
    const int peer = ::accept(listener, nullptr, nullptr);
    char got[64] = {};
    EXPECT_EQ(::read(peer, got, sizeof got), 18);
    EXPECT_STREQ(got, "through the socket");
    ::close(peer);
    ::close(listener);
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"fifo", "full", "null", "socket"}));
}

// A content made in pieces: each piece reaches a FIFO's reader as soon as
// it is made; a regular file is replaced by all the pieces once they are
// made, and a content that fails half-way leaves the old file as it was and
// no temporary file behind.
TEST(SafeReplace, ContentMadeInPieces) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0666), 0);
    const int reader = ::open(dir.file("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    std::string seenBeforeTheSecond;
    replaceFileSafely(dir.file("fifo"), [&](const ContentWriter& write) {
        write("first ");
        char buf[16] = {};
        const ssize_t n = ::read(reader, buf, sizeof buf);
        seenBeforeTheSecond.assign(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
        write("second");
    });
    EXPECT_EQ(seenBeforeTheSecond, "first ");
    ::close(reader);

    const std::string file = dir.file("f");
    test::writeFile(file, "old");
    replaceFileSafely(file, [](const ContentWriter& write) {
        write("new ");
        write("");
        write("content");
    });
    EXPECT_EQ(test::readFile(file), "new content");
    EXPECT_THROW(replaceFileSafely(file,
                                   [](const ContentWriter& write) {
                                       write("half");
                                       throw std::runtime_error("stopped");
                                   }),
                 std::runtime_error);
    EXPECT_EQ(test::readFile(file), "new content");
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"f", "fifo"}));
}

// A path that names an open descriptor writes to it: a file opened for
// appending keeps its lines, whatever the path.
TEST(SafeReplace, WritesToTheDescriptorAPathNames) {
    TempDir dir;
    ASSERT_EQ(::symlink("/dev/stdout", dir.file("out").c_str()), 0);
    for (const std::string path : {"/dev/fd/1", "/proc/self/fd/1", "/dev/stdout", "-", "out"}) {
        const std::string log = dir.file("log");
        test::writeFile(log, "earlier\n");
        const std::string error = failureInChild([&] {
            const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND);
            if (fd < 0 || ::dup2(fd, 1) != 1 || ::chdir(dir.path().c_str()) != 0)
                throw FileError(errno, log);
            replaceFileSafely(path, "new\n");
        });
        EXPECT_EQ(error, "") << path;
        EXPECT_EQ(test::readFile(log), "earlier\nnew\n") << path;
        EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"log", "out"})) << path;
    }
}

// Kill a save at random moments: the file is always one of the contents
// saved, whole, and no temporary file stays behind once the next save has
// run; where the folder takes no new file the file stays the old one. On a
// file system in memory, where a save is quickest, and on the disk's.
TEST(SafeReplace, AKilledSaveLeavesOneWholeFile) {
    Worksheet start;
    setStartProject(start);
    Worksheet other = start;
    other.projectTitle = std::string(3000, 't');
    MaterialArchive shipped(test::binDir() + "/materiali.TXT");
    shipped.load();
    const MaterialArchive constant = test::constantArchive();
    const std::string memory = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    struct Case {
        const char* what;
        const char* key;
        std::string base;
        std::string first;
        std::string second;
        bool lockedFolder;
        int kills;
    };
    const std::string one = serializeProject(start), two = serializeProject(other);
    const Case cases[] = {
        {"projects", "projectsInMemory", memory, one, two, false, 300},
        {"archives", "archivesInMemory", memory, shipped.fileText(), constant.fileText(), false,
         300},
        {"projects on the disk", "projectsOnDisk", "/tmp", one, two, false, 100},
        {"a folder without new files", "lockedFolder", "/tmp", one, two, true, 100},
    };
    std::mt19937 random(22);
    for (const Case& c : cases) {
        TempDir dir(c.base);
        const std::string folder = dir.file("folder");
        const std::string file = folder + "/progetto.CAM";
        std::filesystem::create_directory(folder);
        test::writeFile(file, c.first);
        ASSERT_EQ(::chown(file.c_str(), Nobody, NoGroup), 0);
        ::chmod(folder.c_str(), c.lockedFolder ? 0555 : 0777);
        // A kill falls anywhere in the child's first few saves.
        const auto begin = std::chrono::steady_clock::now();
        for (int i = 0; i < 10; ++i)
            replaceFileSafely(dir.file("timed"), i % 2 ? c.second : c.first);
        const auto save = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - begin) /
                          10;
        std::filesystem::remove(dir.file("timed"));
        std::uniform_int_distribution<long> delay(0, 3 * save.count());
        int leftovers = 0;
        for (int kill = 0; kill < c.kills / KillShare; ++kill) {
            int ready[2];
            ASSERT_EQ(::pipe(ready), 0);
            const pid_t pid = ::fork();
            if (pid == 0) {
                if (!becomeNobody({NoGroup}) || ::write(ready[1], "r", 1) != 1)
                    ::_exit(99);
                for (int i = 0;; ++i) {
                    try {
                        replaceFileSafely(file, i % 2 ? c.first : c.second);
                    } catch (const FileError&) {
                    }
                }
            }
            char r = 0;
            ASSERT_EQ(::read(ready[0], &r, 1), 1);
            ::close(ready[0]);
            ::close(ready[1]);
            ::usleep(static_cast<useconds_t>(delay(random)));
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            const std::string now = test::readFile(file);
            ASSERT_TRUE(now == c.first || (now == c.second && !c.lockedFolder))
                << c.what << ", kill " << kill << ": " << now.size() << " bytes";
            const auto names = entries(folder);
            // A kill between naming the new file and renaming it leaves it
            // under its link name, whole; the next save removes it.
            ASSERT_LE(names.size(), 2u) << c.what;
            if (names.size() == 2) {
                ASSERT_EQ(names.front().rfind(".camini-", 0), 0u) << names.front();
                ASSERT_EQ(names.front().size(), 24u) << names.front();
                const std::string left = test::readFile(folder + "/" + names.front());
                ASSERT_TRUE(left == c.first || left == c.second) << c.what;
                ++leftovers;
                EXPECT_EQ(saveAsNobody(file, c.first), "") << c.what;
                EXPECT_EQ(entries(folder), std::vector<std::string>{"progetto.CAM"}) << c.what;
            }
        }
        RecordProperty(c.key, std::to_string(save.count()) + " us a save, " +
                                  std::to_string(leftovers) + " of " +
                                  std::to_string(c.kills / KillShare) +
                                  " kills between link and rename");
    }
}

// Two processes saving one file at once: every read finds one of the two
// contents whole, and neither save fails.
TEST(SafeReplace, TwoSavesAtOnceLeaveOneWholeFile) {
    TempDir dir(std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp");
    const std::string file = dir.file("calcolo.json");
    const std::string contents[] = {std::string(20000, 'a'), std::string(3000, 'b')};
    test::writeFile(file, contents[0]);
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = ::fork();
        if (writers[w] == 0) {
            int failures = 0;
            for (int i = 0; i < 500; ++i) {
                try {
                    replaceFileSafely(file, contents[w]);
                } catch (const FileError&) {
                    ++failures;
                }
            }
            ::_exit(failures > 100 ? 100 : failures);
        }
    }
    int status[2] = {-1, -1};
    for (int running = 2; running > 0;) {
        const std::string now = test::readFile(file);
        ASSERT_TRUE(now == contents[0] || now == contents[1]) << now.size() << " bytes";
        for (int w = 0; w < 2; ++w)
            if (status[w] == -1 && ::waitpid(writers[w], &status[w], WNOHANG) == writers[w])
                --running;
    }
    // Each writer's failed saves: none.
    EXPECT_EQ(WEXITSTATUS(status[0]), 0);
    EXPECT_EQ(WEXITSTATUS(status[1]), 0);
}
