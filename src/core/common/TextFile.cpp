#include "TextFile.h"

#include "FileError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace camini {

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        int f = fd_;
        fd_ = -1;
        return f;
    }

private:
    int fd_;
};

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string fileNameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save must replace: the path itself, or the target of a
// symbolic link (followed to its end, even when the target does not exist yet).
std::string resolveTarget(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        char buf[PATH_MAX];
        ssize_t n = ::readlink(current.c_str(), buf, sizeof buf - 1);
        if (n < 0)
            return current;
        std::string link(buf, static_cast<std::size_t>(n));
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
        ssize_t n = ::write(fd, p, left);
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

void rewriteInPlace(const std::string& target, const std::string& path, std::string_view content);

} // namespace

void readChunks(const std::string& path,
                const std::function<bool(const char*, std::size_t)>& take) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw FileError(errno, path);
    Descriptor guard(fd);
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(errno, path);
        }
        if (n == 0 || !take(buf, static_cast<std::size_t>(n)))
            return;
    }
}

std::vector<std::string_view> splitTextLineViews(std::string_view text, std::size_t maxLines) {
    std::vector<std::string_view> lines;
    lines.reserve(std::min(maxLines, text.size() + 1));
    std::size_t start = 0;
    while (lines.size() < maxLines && start < text.size()) {
        std::size_t end = text.find('\n', start);
        const bool ended = end != std::string_view::npos;
        if (!ended)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    // A last line without a line end counts when it holds something, which
    // the loop above ensures by stopping at the end of the text.
    return lines;
}

std::vector<std::string> splitTextLines(std::string_view text, std::size_t maxLines) {
    const auto views = splitTextLineViews(text, maxLines);
    return {views.begin(), views.end()};
}

std::string readTextHead(const std::string& path, std::size_t maxLines) {
    std::string out;
    if (maxLines == 0)
        return out;
    std::size_t ends = 0;
    readChunks(path, [&](const char* buf, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            if (buf[i] == '\n' && ++ends == maxLines) {
                out.append(buf, i + 1);
                return false;
            }
        }
        out.append(buf, n);
        return true;
    });
    return out;
}

std::vector<std::string> readTextLines(const std::string& path, std::size_t maxLines) {
    return splitTextLines(readTextHead(path, maxLines), maxLines);
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& l : lines)
        size += l.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

void replaceFileSafely(const std::string& path, std::string_view content) {
    if (path.empty())
        throw FileError(ENOENT, path);
    const std::string target = resolveTarget(path);

    struct stat old {};
    bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists) {
        if (S_ISDIR(old.st_mode))
            throw FileError(EISDIR, path);
        if (::access(target.c_str(), W_OK) != 0)
            throw FileError(errno, path);
    } else if (errno != ENOENT) {
        throw FileError(errno, path);
    }

    std::string tmp = folderOf(target) + "/." + fileNameOf(target) + ".XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) {
        // A file that may be written in a folder that may not: write it in
        // place, and put the old contents back if that fails.
        if (exists && (errno == EACCES || errno == EPERM)) {
            rewriteInPlace(target, path, content);
            return;
        }
        throw FileError(errno, path);
    }
    Descriptor guard(fd);
    auto fail = [&](int e) {
        ::close(guard.release());
        ::unlink(tmp.c_str());
        throw FileError(e, path);
    };

    if (!writeAll(fd, content))
        fail(errno);
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        fail(errno);
    if (::fsync(fd) != 0 && errno != EINVAL)
        fail(errno);
    if (::close(guard.release()) != 0) {
        int e = errno;
        ::unlink(tmp.c_str());
        throw FileError(e, path);
    }
    if (::rename(tmp.c_str(), target.c_str()) != 0) {
        int e = errno;
        ::unlink(tmp.c_str());
        throw FileError(e, path);
    }
    // The rename is an entry of the folder: flush the folder as well. The
    // new file stays whatever happens here.
    const int folder = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        throw FileError(errno, path);
    Descriptor folderGuard(folder);
    if (::fsync(folder) != 0 && errno != EINVAL)
        throw FileError(errno, path);
}

namespace {

void rewriteInPlace(const std::string& target, const std::string& path, std::string_view content) {
    const std::string previous = readWholeFile(target);
    int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        throw FileError(errno, path);
    Descriptor guard(fd);
    if (writeAll(fd, content) && (::fsync(fd) == 0 || errno == EINVAL) &&
        ::close(guard.release()) == 0)
        return;
    const int e = errno;
    // Put the old contents back: they fitted before.
    int again = guard.get() >= 0 ? guard.get() : ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (again >= 0) {
        if (::ftruncate(again, 0) == 0 && ::lseek(again, 0, SEEK_SET) == 0)
            (void)writeAll(again, previous);
        if (again != guard.get())
            ::close(again);
    }
    throw FileError(e, path);
}

} // namespace

std::string readWholeFile(const std::string& path) {
    std::string out;
    readChunks(path, [&](const char* buf, std::size_t n) {
        out.append(buf, n);
        return true;
    });
    return out;
}

} // namespace camini
