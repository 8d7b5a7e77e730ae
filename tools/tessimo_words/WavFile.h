// Reading and writing 16-bit mono WAV files at 22000 Hz, the only format the recogniser takes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessimo::words {

struct WavReadResult {
    std::vector<std::int16_t> samples; // valid when error is empty
    std::string error;                 // what is wrong, with how to convert the file
};

// Reads path, which must be a regular file (or a link to one) holding PCM, 16-bit signed,
// mono, 22000 Hz; a named pipe, socket, device or folder is refused without waiting on it.
WavReadResult ReadWav(const std::string& path);

// Writes samples as a 16-bit mono 22000 Hz WAV file, atomically (writeFileAtomically). False
// on failure.
bool WriteWav(const std::string& path, const std::vector<std::int16_t>& samples);

} // namespace tessimo::words
