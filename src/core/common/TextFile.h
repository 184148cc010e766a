#pragma once

#include "Cp1252.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace camini {

// Reads the file at path in chunks, handing each to `take` until it returns
// false or the file ends. Throws FileError when the file cannot be opened or
// read (a folder, for example).
void readChunks(const PathBytes& path, const std::function<bool(const char*, std::size_t)>& take);

// Reads at most maxLines lines of a text file. A line ends with LF, and a CR
// just before the LF is dropped, so files with CR LF or LF line ends read the
// same. A last line without a line end counts when it is not empty. Reading
// stops at maxLines, so a long file costs nothing beyond what is read.
// Throws FileError when the file cannot be opened or read.
std::vector<std::string> readTextLines(const PathBytes& path, std::size_t maxLines);

// The lines of a text in memory, by the rules of readTextLines: at most
// maxLines, LF or CR LF line ends, a last line without a line end counted
// when it is not empty.
std::vector<std::string> splitTextLines(std::string_view text, std::size_t maxLines);

// The same lines as views into text, copying nothing.
std::vector<std::string_view> splitTextLineViews(std::string_view text, std::size_t maxLines);

// Reads the beginning of a file, up to and including its maxLines-th LF (the
// whole file when it has fewer), so that splitTextLines of what it returns
// gives the lines readTextLines gives, and a long file costs nothing beyond
// the lines a format holds. Throws FileError when the file cannot be opened
// or read.
std::string readTextHead(const PathBytes& path, std::size_t maxLines);

// Joins lines, each followed by CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// Replaces the file at path with content, safely: the content goes to a
// temporary file in the same folder, which is then renamed over the old file,
// so a failure at any point leaves the old file whole. An existing file that
// may not be written is refused ("File access denied"); a path that is a
// folder is refused; a symbolic link is followed and its target replaced, the
// link kept. Once renamed, the folder is flushed to the disk too, so the
// rename survives a power cut; when that fails the error is thrown like any
// other, the new file staying in place. A new file gets the usual permissions (0666 less the
// umask), a replaced one keeps its own. A file that may be written in a folder that may not is
// rewritten in place, its old contents put back if that fails. Throws FileError with the path as
// given.
void replaceFileSafely(const PathBytes& path, std::string_view content);

// Reads a whole file (for tests and small files). Throws FileError.
std::string readWholeFile(const PathBytes& path);

} // namespace camini
