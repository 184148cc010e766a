#include "FileError.h"

#include "Cp1252.h"

#include <cerrno>
#include <cstring>

namespace camini {

std::string FileError::platformText(int e) {
    switch (e) {
    case ENOENT:
        return "File not found";
    case ENOTDIR:
        return "Not a directory";
    case EISDIR:
        return "Is a directory";
    case ENAMETOOLONG:
        return "File name too long";
    case ELOOP:
    case EMLINK:
        return "Too many links";
    case EROFS:
        return "Read-only file system";
    case EACCES:
    case EPERM:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
        return "Disk full";
    default: {
        char buf[256];
        // GNU strerror_r returns the message, possibly not in buf, in the
        // language of the locale and in UTF-8: the text is CP1252.
        const char* m = strerror_r(e, buf, sizeof buf);
        return m ? fromUtf8(m) : std::string("I/O error ") + std::to_string(e);
    }
    }
}

FileError::FileError(int errorNumber, std::string path)
    : FileError(platformText(errorNumber), std::move(path), errorNumber) {}

FileError::FileError(std::string text, std::string path, int errorNumber)
    : std::runtime_error(toUtf8(text) + ": " + path), text_(std::move(text)),
      path_(std::move(path)), errno_(errorNumber) {}

std::string fileErrorText(const std::exception& e) {
    return fromUtf8(e.what());
}

} // namespace camini
