#include "common/FileError.h"
#include "common/TextFile.h"
#include "engine/Worksheet.h"
#include "forms/ProjectFile.h"
#include "support/TestSupport.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
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

// The error text a save in a child (as nobody in `groups`) throws, "" when
// it succeeds.
std::string saveAsNobody(const std::string& path, const std::string& content,
                         std::vector<gid_t> groups = {NoGroup}) {
    int out[2];
    if (::pipe(out) != 0)
        return "pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        std::string text = "setuid";
        if (becomeNobody(groups)) {
            try {
                replaceFileSafely(path, content);
                text.clear();
            } catch (const FileError& e) {
                text = e.text();
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

TEST(SafeReplace, AFailedSaveLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string old = "old contents\r\n";
    test::writeFile(dir.file("a.txt"), old);

    // A folder in place of the file.
    std::filesystem::create_directory(dir.file("folder"));
    EXPECT_THROW(replaceFileSafely(dir.file("folder"), "x"), FileError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("folder")));

    // The disk fills part-way: a file size limit in a child.
    int rc = test::runInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim {
            4, 4
        };
        ::setrlimit(RLIMIT_FSIZE, &lim);
        try {
            replaceFileSafely(dir.file("a.txt"), std::string(10000, 'x'));
        } catch (const FileError& e) {
            return e.text().empty() ? 3 : 0;
        }
        return 1;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(test::readFile(dir.file("a.txt")), old);

    // A read-only file and a read-only folder, as an unprivileged user.
    ::chmod(dir.file("a.txt").c_str(), 0444);
    rc = test::runInChild(
        [&] {
            try {
                replaceFileSafely(dir.file("a.txt"), "new");
            } catch (const FileError& e) {
                return e.text() == "File access denied" ? 0 : 2;
            }
            return 1;
        },
        true);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(test::readFile(dir.file("a.txt")), old);

    // A new file in a folder that may not be written.
    std::filesystem::create_directory(dir.file("locked"));
    ::chmod(dir.file("locked").c_str(), 0555);
    rc = test::runInChild(
        [&] {
            try {
                replaceFileSafely(dir.file("locked/b.txt"), "new");
            } catch (const FileError& e) {
                return e.text() == "File access denied" ? 0 : 2;
            }
            return 1;
        },
        true);
    EXPECT_EQ(rc, 0);
    // No new file, nor a temporary one, after any of them.
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"a.txt", "folder", "locked"}));
    EXPECT_EQ(entries(dir.file("locked")), std::vector<std::string>{});
    EXPECT_EQ(entries(dir.file("folder")), std::vector<std::string>{});
}

// A file that may be written in a folder that takes no new file is not
// written in place, where a failure half-way would leave it cut: the save is
// refused and the file stays as it was.
TEST(SafeReplace, AWritableFileInAReadOnlyFolderIsNotWrittenInPlace) {
    TempDir dir;
    const std::string old = "old contents\r\n";
    const std::string folder = dir.file("locked");
    std::filesystem::create_directory(folder);
    test::writeFile(folder + "/a.txt", old);
    ::chmod((folder + "/a.txt").c_str(), 0666);
    ::chmod(folder.c_str(), 0555);
    for (const std::size_t size : {5u, 10000u}) {
        const int rc = test::runInChild(
            [&] {
                std::signal(SIGXFSZ, SIG_IGN);
                struct rlimit lim {
                    64, 64
                };
                ::setrlimit(RLIMIT_FSIZE, &lim);
                try {
                    replaceFileSafely(folder + "/a.txt", std::string(size, 'x'));
                } catch (const FileError& e) {
                    return e.text() == "la cartella " + folder +
                                           " non permette di salvare in sicurezza (non vi si "
                                           "possono creare file nuovi) e il file resta com'era"
                               ? 0
                               : 2;
                }
                return 1;
            },
            true);
        EXPECT_EQ(rc, 0) << size;
        EXPECT_EQ(test::readFile(folder + "/a.txt"), old) << size;
    }
    EXPECT_EQ(entries(folder), std::vector<std::string>{"a.txt"});
}

// After the rename the folder is flushed; a folder that cannot be opened for
// it (no read permission, as an unprivileged user) fails the save with the
// usual error, and the new file is in place, with no temporary file left.
TEST(SafeReplace, AFolderThatCannotBeFlushedFailsTheSave) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0); // "nobody" must reach the folder
    const std::string folder = dir.file("unreadable");
    std::filesystem::create_directory(folder);
    ASSERT_EQ(::chmod(folder.c_str(), 0333), 0);
    const int rc = test::runInChild(
        [&] {
            try {
                replaceFileSafely(folder + "/a.txt", "new\r\n");
            } catch (const FileError& e) {
                return e.text() == "File access denied" ? 0 : 2;
            }
            return 1;
        },
        true);
    EXPECT_EQ(rc, 0);
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(test::readFile(folder + "/a.txt"), "new\r\n");
    EXPECT_EQ(entries(folder), std::vector<std::string>{"a.txt"});
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
        bool byRoot;
        std::vector<gid_t> saverGroups;
        const char* error; // "" for a save that succeeds
        uid_t newOwner;
        gid_t newGroup;
    };
    const Case cases[] = {
        {"root keeps owner and group", Nobody, Users, 0640, true, {}, "", Nobody, Users},
        {"the owner keeps a group he is in",
         Nobody,
         Users,
         0664,
         false,
         {NoGroup, Users},
         "",
         Nobody,
         Users},
        {"a group the owner is not in", Nobody, 0, 0604, false, {NoGroup}, "", Nobody, NoGroup},
        {"another user's file",
         0,
         Users,
         0666,
         false,
         {NoGroup, Users},
         "il file \xE8 dell'utente root e salvarlo come nobody ne cambierebbe il proprietario, "
         "quindi resta com'era",
         0,
         Users},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string file = dir.file("a.txt");
        test::writeFile(file, "old");
        ASSERT_EQ(::chown(file.c_str(), c.owner, c.group), 0);
        ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
        std::string error;
        if (c.byRoot)
            replaceFileSafely(file, "new");
        else
            error = saveAsNobody(file, "new", c.saverGroups);
        EXPECT_EQ(error, c.error) << c.what;
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
        try {
            replaceFileSafely(file, "new", kind);
            ADD_FAILURE() << "replaced";
        } catch (const FileError& e) {
            EXPECT_EQ(std::string(e.what()), "File access denied: " + file);
        }
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
    try {
        replaceFileSafely(dir.file("full"), "content");
        ADD_FAILURE() << "a full device took the content";
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "Disk full: " + dir.file("full"));
    }
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
        const int rc = test::runInChild([&] {
            const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND);
            if (fd < 0 || ::dup2(fd, 1) != 1 || ::chdir(dir.path().c_str()) != 0)
                return 2;
            replaceFileSafely(path, "new\n");
            return 0;
        });
        EXPECT_EQ(rc, 0) << path;
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
    const Case cases[] = {
        {"projects", "projectsInMemory", memory, serializeProject(start), serializeProject(other),
         false, 300},
        {"archives", "archivesInMemory", memory, shipped.fileText(), constant.fileText(), false,
         300},
        {"projects on the disk", "projectsOnDisk", "/tmp", serializeProject(start),
         serializeProject(other), false, 100},
        {"a folder without new files", "lockedFolder", "/tmp", serializeProject(start),
         serializeProject(other), true, 100},
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
