// Replacing a file's contents so that readers see either the old or the new bytes, never a
// mix, even across a crash. No Qt.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tessimo {

// Writes bytes to path atomically: to a new temporary file beside it, flushed to disk, then
// renamed over path, and the rename itself flushed. The temporary file is created under a
// short name that no other writer uses and that never ends in ".dat", never through an
// existing link, with the permissions of the regular file it replaces. False on any failure;
// path is then unchanged and no temporary file is left. Any thread; blocks.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace tessimo
