#include "TextFile.h"

#include "Descriptor.h"
#include "FileError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace camini {

void readChunks(const std::string& path,
                const std::function<bool(const char*, std::size_t)>& take) {
    const bool standardInput = path == StandardStreamPath;
    const std::string& name = standardInput ? std::string(StandardInputName) : path;
    Descriptor guard(standardInput ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    const int fd = standardInput ? STDIN_FILENO : guard.get();
    if (fd < 0)
        throw FileError(errno, path);
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw FileError(errno, name);
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

std::string readTextHead(const std::string& path, std::size_t maxLines, std::size_t maxBytes) {
    std::string out;
    if (maxLines == 0)
        return out;
    std::size_t ends = 0;
    // The line that goes past the bound: the one after the line ends within it.
    auto refuse = [&](std::size_t line) {
        throw FileError("File too large (line " + std::to_string(line) + " does not end within " +
                            std::to_string(maxBytes) + " bytes)",
                        path == StandardStreamPath ? std::string(StandardInputName) : path);
    };
    readChunks(path, [&](const char* buf, std::size_t n) {
        const std::size_t endsBefore = ends;
        const char* at = buf;
        const char* end = buf + n;
        while (const auto* lf = static_cast<const char*>(std::memchr(at, '\n', end - at))) {
            at = lf + 1;
            if (++ends == maxLines) {
                n = static_cast<std::size_t>(at - buf);
                break;
            }
        }
        if (out.size() + n > maxBytes) {
            const std::size_t room = maxBytes - out.size();
            refuse(endsBefore + static_cast<std::size_t>(std::count(buf, buf + room, '\n')) + 1);
        }
        out.append(buf, n);
        return ends < maxLines;
    });
    return out;
}

std::vector<std::string> readTextLines(const std::string& path, std::size_t maxLines,
                                       std::size_t maxBytes) {
    return splitTextLines(readTextHead(path, maxLines, maxBytes), maxLines);
}

void requireTextWithinBound(const std::string& path, std::string_view text, std::size_t maxBytes) {
    if (text.size() > maxBytes)
        throw FileError("File too large (" + std::to_string(text.size()) + " bytes, over the " +
                            std::to_string(maxBytes) + " it may hold)",
                        path);
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

std::string readWholeFile(const std::string& path) {
    std::string out;
    readChunks(path, [&](const char* buf, std::size_t n) {
        out.append(buf, n);
        return true;
    });
    return out;
}

} // namespace camini
