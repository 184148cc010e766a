#pragma once

#include "Cp1252.h"

#include <stdexcept>
#include <string>

namespace camini {

// A failed file operation: the platform's text for the failure and the path.
// Texts: "File not found", "File access denied", "Disk full", otherwise the
// system's own message for the error number.
class FileError : public std::runtime_error {
public:
    FileError(int errorNumber, PathBytes path);
    FileError(Cp1252 text, PathBytes path);

    // The platform's text alone, e.g. "File not found".
    const Cp1252& text() const { return text_; }
    // The path as given to the operation (file system bytes).
    const PathBytes& path() const { return path_; }
    // The error number, 0 when the failure was not a system call's.
    int errorNumber() const { return errno_; }

    // The platform's text for an error number.
    static Cp1252 platformText(int errorNumber);

private:
    Cp1252 text_;
    PathBytes path_;
    int errno_ = 0;
};

// The error box text of a failed operation: the platform's text and the path
// (the path's bytes taken as UTF-8, shown in CP1252).
Cp1252 fileErrorText(const std::exception& e);

} // namespace camini
