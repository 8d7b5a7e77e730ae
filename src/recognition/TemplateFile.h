// The template file: the noise level, then one record per template (slot, sample bytes,
// samples, frame count, frames), little-endian, no header.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recognition/RecognizerEntryPoints.h"
#include "recognition/WordSlot.h"

namespace tessimo {

// Longest recording a template may hold: 20 s. Longer recordings are cut at this length, so
// that every file written can be read back.
inline constexpr std::uint32_t MaxTemplateSamples = 20 * 22000;
// Most frames a template of MaxTemplateSamples samples has.
inline constexpr std::int32_t MaxTemplateFrames = (MaxTemplateSamples - 2048) / 1024 + 2;

struct TemplateRecord {
    int slot = 0;
    std::vector<std::int16_t> samples;
    std::vector<float> frameValues; // frame count x 512 values
};

struct TemplateFileContents {
    float noiseLevel = 0.0f;
    std::vector<TemplateRecord> records; // in file order
};

// The bytes of a template file holding noiseLevel and every slot 0..83 that holds samples,
// in increasing slot order. Any thread.
std::vector<std::uint8_t> EncodeTemplateFile(float noiseLevel,
                                             const std::array<WordSlot, WordSlotCount>& slots);

// The contents of a template file, or nothing when the bytes are not one: more bytes than
// MaxTemplateFileBytes, a noise level that is not finite, a slot outside 0..83 or one that
// holds a record already (so there are never more records than slots), a sample byte count
// that is 0, odd or above MaxTemplateSamples samples, a frame count that is negative, above
// MaxTemplateFrames or does not fit in the rest of the file, or a record cut short. Nothing is
// allocated for a record before it has been checked. Any thread.
std::optional<TemplateFileContents> ParseTemplateFile(const std::vector<std::uint8_t>& bytes);

// Largest file that ParseTemplateFile can accept: the noise level and one record of the
// longest recording, with all its frames, for each of the 84 slots (about 148 MB). Bigger
// files are refused unread.
std::uint64_t MaxTemplateFileBytes();

// Reads the whole of path if it is a regular file (never through a link, never blocking on a
// named pipe or device; see openRegularFileForReading) of at most maxBytes. A file whose size
// is over the limit is refused before anything is read, and at most maxBytes + 1 bytes are
// ever read (for a file that grows meanwhile). Any thread; blocks on the disk only.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       std::uint64_t maxBytes);

} // namespace tessimo
