#pragma once

#include "Cp1252.h"
#include "SafeReplace.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace camini {

// Reads the file at path in chunks, handing each to `take` until it returns
// false or the file ends; "-" reads standard input. Throws FileError when the
// file cannot be opened or read (a folder, for example).
void readChunks(const PathBytes& path, const std::function<bool(const char*, std::size_t)>& take);

// Reads at most maxLines lines of a text file. A line ends with LF, and a CR
// just before the LF is dropped, so files with CR LF or LF line ends read the
// same. A last line without a line end counts when it is not empty. Reading
// stops at maxLines, so a long file costs nothing beyond what is read, and
// refuses (FileError) a file whose first maxLines lines do not end within
// maxBytes. Throws FileError when the file cannot be opened or read.
std::vector<std::string> readTextLines(const PathBytes& path, std::size_t maxLines,
                                       std::size_t maxBytes);

// The lines of a text in memory, by the rules of readTextLines: at most
// maxLines, LF or CR LF line ends, a last line without a line end counted
// when it is not empty.
std::vector<std::string> splitTextLines(std::string_view text, std::size_t maxLines);

// The same lines as views into text, copying nothing.
std::vector<std::string_view> splitTextLineViews(std::string_view text, std::size_t maxLines);

// Reads the beginning of a file, up to and including its maxLines-th LF (the
// whole file when it has fewer), so that splitTextLines of what it returns
// gives the lines readTextLines gives, and a long file costs nothing beyond
// the lines a format holds. A format's bound, maxBytes, is one no valid file
// of it reaches: a file whose lines go on past it (one without line ends such
// as /dev/zero, an endless pipe) is refused with FileError once that much is
// read, so memory and time stay bounded. "-" reads standard input. Throws
// FileError when the file cannot be opened or read.
std::string readTextHead(const PathBytes& path, std::size_t maxLines, std::size_t maxBytes);

// Refuses (FileError, nothing written) a text for path that its reader
// would refuse: longer than the format's bound maxBytes. A save checks it so
// that what it writes can always be read back.
void requireTextWithinBound(const PathBytes& path, std::string_view text, std::size_t maxBytes);

// Joins lines, each followed by CR LF.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// Reads a whole file, with no bound: for tests. Throws FileError.
std::string readWholeFile(const PathBytes& path);

} // namespace camini
