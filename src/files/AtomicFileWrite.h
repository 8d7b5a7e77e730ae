// Replacing a file's contents so that readers see either the old or the new bytes, never a
// mix, even across a crash. No Qt.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

#include "files/SafeFileOpen.h"

namespace tessimo {

enum class FileWriteFailure {
    None,
    NotRegularFile, // something other than a regular file has the name (kind says what)
    ReadOnly,       // the disk is mounted read-only
    NotPermitted,   // the folder (or file) may not be written by this user
    Full,           // no space left, or over a quota or file size limit
    NoFolder,       // the folder does not exist
    NameRefused,    // the file system does not accept the name
    Other,          // anything else; error says what
};

struct FileWriteResult {
    FileWriteFailure failure = FileWriteFailure::None;
    int error = 0;                     // errno of the call that failed
    FileKind kind = FileKind::Regular; // what is in the way, for NotRegularFile

    explicit operator bool() const { return failure == FileWriteFailure::None; }
};

// Writes bytes to path atomically: to a new temporary file beside it, flushed to disk, then
// renamed over path, and the rename itself flushed. The temporary file is created under a
// short name that no other writer uses and that never ends in ".dat", never through an
// existing link, with the permissions of the regular file it replaces. An existing entry at
// path that is not a regular file (a link, folder, pipe, socket or device) is left alone and
// the write refused. Before writing, temporary files that a crashed writer left beside path
// are removed (see removeStaleTemporaries). On failure path is unchanged and no temporary
// file is left. Any thread; blocks.
FileWriteResult writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// Why a write failed, as a short phrase for a message: "the disk is full", "the name is a
// folder", ... ; "" for success. Any thread.
std::string describeWriteFailure(const FileWriteResult& result);

// A temporary file of a writer that crashed before its rename is older than this; a newer one
// may belong to a save in progress on another machine sharing the folder.
inline constexpr std::chrono::seconds StaleTemporaryAge{60};

// Removes from directory ("" is the working directory) the regular files named as this
// program names its temporary files (".tessimo-<pid>-<n>.tmp") whose process is not running
// and that were last written more than StaleTemporaryAge ago. Files of this process, of
// running processes, links and anything else are left alone. Returns how many were removed.
// Any thread; blocks.
int removeStaleTemporaries(const std::string& directory);

} // namespace tessimo
