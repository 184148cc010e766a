#pragma once

#include "Cp1252.h"

#include <stdexcept>
#include <string>

namespace camini {

// A failed file operation: the platform's text for the failure and the path.
// Texts: "File not found", "File access denied", "Disk full", "Not a
// directory", "Is a directory", "File name too long", "Too many links",
// "Read-only file system", otherwise the system's own message for the error
// number; or a text of the program's own (a file too large for its format, a
// save that cannot be made safely).
class FileError : public std::runtime_error {
public:
    FileError(int errorNumber, PathBytes path);
    // `text` is CP1252, like every text of the system.
    FileError(Cp1252 text, PathBytes path, int errorNumber = 0);

    // The platform's text alone, e.g. "File not found" (CP1252).
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

// The name standard output and standard input go by in messages, where a
// file would be named.
inline constexpr const char* StandardOutputName = "uscita standard";
inline constexpr const char* StandardInputName = "ingresso standard";

// The error box text of a failed operation: the platform's text and the path
// (what() is UTF-8: the text converted, the path's bytes as they are; shown
// in CP1252).
Cp1252 fileErrorText(const std::exception& e);

} // namespace camini
