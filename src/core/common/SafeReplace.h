#pragma once

#include "Cp1252.h"

#include <functional>
#include <string>
#include <string_view>

namespace camini {

// The path that names standard output for replaceFileSafely (and standard
// input for the readers).
inline constexpr std::string_view StandardStreamPath = "-";

// How a regular file's new contents are made before they replace the old.
enum class TemporaryFile {
    // A file without a name (O_TMPFILE), named only once it is whole; where
    // the file system cannot make one, a named one as below.
    Unnamed,
    // A file with a short hidden name in the same folder; a save killed
    // while it writes leaves it behind.
    Named,
};

// Writes content to the file at path: the one way every file is written.
//
// A regular file, or a new one, is replaced safely: the content goes to a
// temporary file in the same folder (see TemporaryFile), is flushed to the
// disk and then put in place of the old file at once, and the folder is
// flushed too, so that a failure or a kill at any moment leaves either the
// old file or the new one, whole (a kill between naming the new file and
// renaming it, the last two steps, leaves it under a hidden name of this
// file's own, which the next save of the file removes), and two saves at
// once leave one of the two, whole. A new file takes the usual permissions
// (0666 less the umask); a replaced one keeps its permission bits and, where
// the process may set it, its group. Refused, the old file staying as it
// was: an existing file that may not be written ("File access denied"); a
// file of another user, whose owner the save would change (unless the
// process may keep it, as root may); a file whose folder takes no new file
// (the save never writes in place); a folder. A symbolic link is followed
// and its target replaced, the link kept. When the folder cannot be
// flushed after the replacement the error is thrown like any other, the new
// file staying in place.
//
// A target that exists and is not a regular file (a device, a FIFO, a
// socket) is opened and written as it is, never replaced, nothing of it
// read; a path naming an open descriptor (/dev/stdout, /dev/fd/N,
// /proc/self/fd/N) writes to that descriptor, so `>> log` keeps the log's
// lines; "-" is standard output.
//
// Throws FileError with the path as given.
void replaceFileSafely(const PathBytes& path, std::string_view content,
                       TemporaryFile temporary = TemporaryFile::Unnamed);

// Takes the next piece of a file's content.
using ContentWriter = std::function<void(std::string_view piece)>;

// Makes a file's content, handing it piece by piece to the writer it is
// given, so that a long output is written as it is made and never held
// whole. It may be run more than once, each time from the start: a save
// whose new file was taken from under its name begins again.
using ContentProducer = std::function<void(const ContentWriter& write)>;

// replaceFileSafely of the content `produce` makes: each piece is written as
// it comes (to standard output, a device or a FIFO at once; to a regular
// file's temporary file, which replaces the old file once the content is
// whole). An exception from `produce` leaves a regular file as it was.
void replaceFileSafely(const PathBytes& path, const ContentProducer& produce,
                       TemporaryFile temporary = TemporaryFile::Unnamed);

// Writes all of content to an open descriptor as it is; `name` names it in
// the FileError a failed write throws.
void writeToDescriptor(int fd, std::string_view content, const std::string& name);

} // namespace camini
