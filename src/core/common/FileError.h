#pragma once

#include <stdexcept>
#include <string>

namespace camini {

// A failed file operation: the platform's text for the failure and the path.
// Texts: "File not found", "File access denied", "Disk full", otherwise the
// system's own message for the error number.
class FileError : public std::runtime_error {
public:
    FileError(int errorNumber, std::string path);
    FileError(std::string text, std::string path);

    // The platform's text alone, e.g. "File not found".
    const std::string& text() const { return text_; }
    // The path as given to the operation (file system bytes).
    const std::string& path() const { return path_; }
    // The error number, 0 when the failure was not a system call's.
    int errorNumber() const { return errno_; }

    // The platform's text for an error number.
    static std::string platformText(int errorNumber);

private:
    std::string text_;
    std::string path_;
    int errno_ = 0;
};

// The error box text of a failed operation: the platform's text and the path
// (the path's bytes taken as UTF-8, shown in CP1252).
std::string fileErrorText(const std::exception& e);

} // namespace camini
