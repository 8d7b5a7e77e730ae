// Opening a user's file for reading without ever blocking or following a link: a named pipe,
// socket, device, folder or link that carries a user file's name is refused, not opened, so
// it can neither freeze the program nor pass another file's bytes off as the user's. No Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/FileDescriptor.h"

namespace tessimo {

// What a directory entry is, looked at without following a link.
enum class FileKind { Missing, Regular, Link, Folder, Pipe, Socket, Device, Other };

// The kind of the entry at path (lstat); Missing when there is none. When the entry cannot be
// examined for another reason (a folder on the way that cannot be searched, a name too long)
// the result is Other and error holds the errno. Any thread.
FileKind fileKindAt(const std::string& path, int* error = nullptr);

// The kind as words that follow a file name: "is a link", "is a folder", "is a named pipe
// (FIFO)", ... ; "" for Regular. Any thread.
std::string describeFileKind(FileKind kind);

struct ReadOpenResult {
    FileDescriptor file{-1}; // open for reading when the file could be opened
    // Missing: no such entry. Regular with file invalid: the open failed with error.
    // Any other kind: refused without being opened.
    FileKind kind = FileKind::Missing;
    int error = 0;          // errno of the call that failed
    std::uint64_t size = 0; // size in bytes when opened

    bool opened() const { return file.valid(); }
};

// Opens path for reading only when it is a regular file: the entry is looked at first (so a
// device is never opened), then opened with O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY and
// looked at again through the descriptor, so an entry swapped in between is refused as well.
// Reads from the descriptor then behave as on any regular file. The user's own files are
// never read through a link; with Links::Follow (a file the user named explicitly) a link to a
// regular file is opened, and the kind is that of the link's target. Any thread; never blocks
// on the entry's kind (only on the disk, as any read does).
enum class Links { Refuse, Follow };
ReadOpenResult openRegularFileForReading(const std::string& path, Links links = Links::Refuse);

// Why a file could not be read, as words that follow its name: the kind for entries that are
// not regular files, "does not exist", or "cannot be read (<reason>)". Any thread.
std::string describeReadFailure(FileKind kind, int error);

// Reads up to count bytes into buffer, retrying short reads; returns the number read (less
// than count only at the end of the file) or -1 on a read error (errno set). Any thread.
long readUpTo(int fd, std::uint8_t* buffer, std::size_t count);

// errno as a short lower-case phrase ("permission denied"). Any thread.
std::string describeErrno(int error);

} // namespace tessimo
