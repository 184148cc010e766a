#include "SafeReplace.h"

#include "Cp1252.h"
#include "Descriptor.h"
#include "FileError.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <random>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace camini {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The descriptor a path names when it lies in this process's folder of open
// descriptors (/dev/fd/N, /proc/self/fd/N, /proc/PID/fd/N), -1 otherwise.
// Such a path is a link the kernel makes to whatever the descriptor holds
// (a pipe, a file opened for appending): it is written through the
// descriptor itself, never opened anew nor followed.
int descriptorNamed(const std::string& path) {
    const std::string name = fileNameOf(path);
    if (name.empty() || name.size() > 9 ||
        name.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    const std::string folder = folderOf(path);
    const std::string own = "/proc/" + std::to_string(::getpid());
    bool descriptors = folder == "/dev/fd" || folder == "/proc/self/fd" || folder == own + "/fd";
    if (!descriptors) {
        char real[PATH_MAX];
        if (::realpath(folder.c_str(), real)) {
            const std::string r = real;
            // The threads' own folders, /proc/PID/task/TID/fd, hold the same.
            descriptors = r == own + "/fd" || (r.rfind(own + "/task/", 0) == 0 && r.size() > 3 &&
                                               r.compare(r.size() - 3, 3, "/fd") == 0);
        }
    }
    return descriptors ? std::atoi(name.c_str()) : -1;
}

struct Target {
    std::string path;    // the file to write, links followed
    int descriptor = -1; // or the open descriptor the path names
};

// The file a save must write: the path itself, or the target of a symbolic
// link (followed to its end, even when the target does not exist yet), or
// the descriptor it names.
Target resolveTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        if (const int fd = descriptorNamed(current); fd >= 0)
            return {current, fd};
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return {current};
        char buf[PATH_MAX];
        const ssize_t n = ::readlink(current.c_str(), buf, sizeof buf - 1);
        if (n < 0)
            return {current};
        const std::string link(buf, static_cast<std::size_t>(n));
        current =
            (!link.empty() && link[0] == '/') ? link : folderOf(current).append("/").append(link);
    }
    throw FileError(ELOOP, path);
}

// Writes all of content to fd; false with errno set when a write fails.
bool writeAll(int fd, std::string_view content) {
    const char* p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// A descriptor connected to the local socket at path, -1 with errno set.
int connectSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, path.data(), path.size());
    Descriptor s(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (s.get() < 0 ||
        ::connect(s.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return -1;
    return s.release();
}

// Runs the producer with a writer that puts every piece on fd; a failed
// write throws FileError naming `name`.
void produceInto(int fd, const ContentProducer& produce, const std::string& name) {
    produce([&](std::string_view piece) {
        if (!writeAll(fd, piece))
            throw FileError(errno, name);
    });
}

// A device, FIFO or socket: opened and written as it is.
void writeThrough(const std::string& target, const struct stat& st, const ContentProducer& produce,
                  const std::string& path) {
    Descriptor fd(S_ISSOCK(st.st_mode) ? connectSocket(target)
                                       : ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0)
        throw FileError(errno, path);
    produceInto(fd.get(), produce, path);
    // A disk is flushed; other devices have nothing to flush.
    if (S_ISBLK(st.st_mode) && ::fsync(fd.get()) != 0)
        throw FileError(errno, path);
    if (::close(fd.release()) != 0)
        throw FileError(errno, path);
}

// The folder as a message names it: absolute where it can be made so.
std::string shownFolder(const std::string& folder) {
    char real[PATH_MAX];
    return fromUtf8(::realpath(folder.c_str(), real) ? real : folder.c_str());
}

std::string userName(uid_t uid) {
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buf[4096];
    if (::getpwuid_r(uid, &entry, buf, sizeof buf, &found) == 0 && found)
        return fromUtf8(found->pw_name);
    return std::to_string(uid);
}

// The name a new file without a name takes just before it replaces the old
// one: short, so that any valid file name can be saved, and the same for
// every save of the file, so that one killed at that moment leaves a file
// the next save of it removes.
std::string linkNameFor(const std::string& folder, const std::string& fileName) {
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : fileName)
        hash = (hash ^ c) * 1099511628211ull;
    char hex[17];
    for (int i = 15; i >= 0; --i, hash >>= 4)
        hex[i] = "0123456789abcdef"[hash & 15];
    hex[16] = '\0';
    return folder + "/.camini-" + hex;
}

// A few random characters for a name.
std::string randomText() {
    static std::mt19937_64 random(std::random_device{}());
    return std::to_string(random());
}

// Removes the file at a link name when it is the leftover of a killed save:
// no save holds its lock. True when the name is free again.
bool removeLeftover(const std::string& name) {
    Descriptor fd(::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        return errno == ENOENT;
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    // Still the file that was locked under that name.
    struct stat locked {};
    struct stat named {};
    if (::fstat(fd.get(), &locked) != 0 || ::lstat(name.c_str(), &named) != 0)
        return errno == ENOENT;
    if (locked.st_dev != named.st_dev || locked.st_ino != named.st_ino)
        return false;
    return ::unlink(name.c_str()) == 0 || errno == ENOENT;
}

// Unnamed files are given a name through the process's own descriptor
// links, which need /proc.
bool unnamedFilesCanBeLinked() {
    return ::access("/proc/self/fd", X_OK) == 0;
}

// Links the unnamed file open at fd to `name`; 0 or the error number.
int linkUnnamed(int fd, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0
                                                                                            : errno;
}

// The new contents of a regular file while they are written.
class Temporary {
public:
    Temporary() = default;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary() {
        if (!name_.empty())
            ::unlink(name_.c_str());
    }

    // Makes the file in `folder`; false with errno set when it cannot.
    bool create(const std::string& folder, TemporaryFile kind) {
        if (kind == TemporaryFile::Unnamed && unnamedFilesCanBeLinked()) {
            fd_.reset(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
            if (fd_.get() >= 0) {
                // Held until the save ends: it tells another save that finds
                // this file under the link name that it is no leftover.
                (void)::flock(fd_.get(), LOCK_EX);
                return true;
            }
            // File systems without unnamed files refuse in these ways.
            if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
                return false;
        }
        std::string name = folder + "/.caminiXXXXXX";
        fd_.reset(::mkostemp(name.data(), O_CLOEXEC));
        if (fd_.get() < 0)
            return false;
        name_ = std::move(name);
        return true;
    }

    int fd() const { return fd_.get(); }

    // Puts the file, flushed, in place of target (which existed when the
    // save began, or not). False when the file was lost on the way and the
    // save must begin again.
    bool replace(const std::string& target, bool existed, const std::string& path) {
        if (!name_.empty()) {
            if (::close(fd_.release()) != 0 || ::rename(name_.c_str(), target.c_str()) != 0)
                throw FileError(errno, path);
            name_.clear();
            return true;
        }
        // A new file appears whole under its name at once.
        if (!existed) {
            const int e = linkUnnamed(fd(), target);
            if (e == 0)
                return true;
            if (e != EEXIST)
                throw FileError(e, path);
        }
        // An old one is replaced by a rename from the link name. A file
        // found there is the leftover of a save killed between the two
        // steps, which is removed, or the file of another save of this one
        // under way, which holds its lock on it and is left alone, as is
        // what may not be removed (another user's file in a folder that
        // keeps each user's files): this save then takes a name of its own.
        std::string via = linkNameFor(folderOf(target), fileNameOf(target));
        for (int attempt = 0; attempt < 16; ++attempt) {
            const int e = linkUnnamed(fd(), via);
            if (e == EEXIST) {
                if (!removeLeftover(via))
                    via = linkNameFor(folderOf(target), fileNameOf(target) + randomText());
                continue;
            }
            if (e != 0)
                throw FileError(e, path);
            if (::rename(via.c_str(), target.c_str()) == 0)
                return true;
            // Gone from under its name (removed by something else than a
            // save, which never removes a file another save holds): a file
            // once named and unnamed again cannot be named any more.
            if (errno == ENOENT)
                return false;
            const int r = errno;
            ::unlink(via.c_str());
            throw FileError(r, path);
        }
        throw FileError(EEXIST, path);
    }

private:
    Descriptor fd_;
    std::string name_; // empty for an unnamed file, or once renamed
};

// Gives the new file the old one's owner, group and permission bits, or a
// new file's usual permissions. Refuses the save when the owner would change.
void keepOwnerAndMode(int fd, const struct stat* old, const std::string& path) {
    mode_t mode = 0;
    if (old) {
        if (old->st_uid != ::geteuid()) {
            // Only a process that may give files away (root) keeps the owner.
            if (::fchown(fd, old->st_uid, old->st_gid) != 0)
                throw FileError("il file \xE8 dell'utente " + userName(old->st_uid) +
                                    " e salvarlo come " + userName(::geteuid()) +
                                    " ne cambierebbe il proprietario, quindi resta com'era",
                                path, errno);
        } else if (::fchown(fd, static_cast<uid_t>(-1), old->st_gid) != 0) {
            // A group the saving user is not in: the file takes the user's.
        }
        mode = old->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    // After fchown, which clears the set-id bits.
    if (::fchmod(fd, mode) != 0)
        throw FileError(errno, path);
}

// Flushes the folder's entries to the disk.
void flushFolder(const std::string& folder, const std::string& path) {
    Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0 || (::fsync(fd.get()) != 0 && errno != EINVAL))
        throw FileError(errno, path);
}

// Writes the produced content to a new file beside target and puts it in place; false
// when the new file was lost on the way (see Temporary::replace).
bool writeAndReplace(const std::string& target, const std::string& folder, const struct stat* old,
                     const ContentProducer& produce, TemporaryFile temporary,
                     const std::string& path);

} // namespace

void writeToDescriptor(int fd, std::string_view content, const std::string& name) {
    if (!writeAll(fd, content))
        throw FileError(errno, name);
}

void replaceFileSafely(const std::string& path, std::string_view content, TemporaryFile temporary) {
    replaceFileSafely(
        path, [content](const ContentWriter& write) { write(content); }, temporary);
}

void replaceFileSafely(const std::string& path, const ContentProducer& produce,
                       TemporaryFile temporary) {
    if (path.empty())
        throw FileError(ENOENT, path);
    if (path == StandardStreamPath) {
        produceInto(STDOUT_FILENO, produce, StandardOutputName);
        return;
    }
    const Target resolved = resolveTarget(path);
    if (resolved.descriptor >= 0) {
        produceInto(resolved.descriptor, produce, path);
        return;
    }
    const std::string& target = resolved.path;

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode))
            throw FileError(EISDIR, path);
        if (!S_ISREG(old.st_mode)) {
            writeThrough(target, old, produce, path);
            return;
        }
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            throw FileError(errno, path);
    } else if (errno != ENOENT) {
        throw FileError(errno, path);
    }

    const std::string folder = folderOf(target);
    for (int round = 0;; ++round) {
        if (writeAndReplace(target, folder, exists ? &old : nullptr, produce, temporary, path))
            break;
        if (round == 3)
            throw FileError(ENOENT, path);
    }
    // The replacement is an entry of the folder: flush the folder as well.
    // The new file stays whatever happens here.
    flushFolder(folder, path);
}

namespace {

bool writeAndReplace(const std::string& target, const std::string& folder, const struct stat* old,
                     const ContentProducer& produce, TemporaryFile temporary,
                     const std::string& path) {
    const bool exists = old != nullptr;
    Temporary temp;
    if (!temp.create(folder, temporary)) {
        // A file that may be written in a folder that takes no new file: it
        // is not written in place, where a failure or a kill half-way would
        // leave it cut.
        if (exists && (errno == EACCES || errno == EPERM))
            throw FileError("la cartella " + shownFolder(folder) +
                                " non permette di salvare in sicurezza (non vi si possono creare "
                                "file nuovi) e il file resta com'era",
                            path, errno);
        throw FileError(errno, path);
    }
    keepOwnerAndMode(temp.fd(), old, path);
    produceInto(temp.fd(), produce, path);
    if (::fsync(temp.fd()) != 0 && errno != EINVAL)
        throw FileError(errno, path);
    return temp.replace(target, exists, path);
}

} // namespace

} // namespace camini
