#include "WavFile.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "files/AtomicFileWrite.h"
#include "files/SafeFileOpen.h"

namespace tessimo::words {
namespace {

constexpr std::uint32_t Rate = 22000;

std::uint32_t u32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::string convertHint(const std::string& path) {
    return "tessimo-words reads 16-bit signed mono PCM WAV files at 22000 Hz. Convert it with:\n"
           "  sox '" +
           path + "' -r 22000 -c 1 -b 16 -e signed-integer converted.wav";
}

void put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        s.push_back(static_cast<char>(v >> (8 * i)));
    }
}
void put16(std::string& s, std::uint16_t v) {
    s.push_back(static_cast<char>(v));
    s.push_back(static_cast<char>(v >> 8));
}

} // namespace

WavReadResult ReadWav(const std::string& path) {
    WavReadResult result;
    // A link named on the command line is followed; a pipe, socket or device is refused
    // rather than waited on.
    const ReadOpenResult file = openRegularFileForReading(path, Links::Follow);
    if (!file.opened()) {
        result.error = path + ": " + describeReadFailure(file.kind, file.error);
        return result;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size));
    const long got = readUpTo(file.file.fd(), bytes.data(), bytes.size());
    if (got < 0) {
        result.error = path + ": " + describeReadFailure(FileKind::Regular, errno);
        return result;
    }
    bytes.resize(static_cast<std::size_t>(got));
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
        std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE") {
        result.error = path + ": not a WAV file. " + convertHint(path);
        return result;
    }
    bool haveFormat = false;
    std::size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const std::string id(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                             bytes.begin() + static_cast<std::ptrdiff_t>(pos) + 4);
        const std::size_t size = u32(&bytes[pos + 4]);
        const std::size_t body = pos + 8;
        const std::size_t available = std::min(size, bytes.size() - body);
        if (id == "fmt ") {
            if (available < 16) {
                break;
            }
            std::uint16_t format = u16(&bytes[body]);
            const std::uint16_t channels = u16(&bytes[body + 2]);
            const std::uint32_t rate = u32(&bytes[body + 4]);
            const std::uint16_t bits = u16(&bytes[body + 14]);
            if (format == 0xFFFE && available >= 26) {
                format = u16(&bytes[body + 24]); // the sub-format of an extensible header
            }
            if (format != 1 || channels != 1 || rate != Rate || bits != 16) {
                result.error = path + ": " + (format == 1 ? "PCM" : "not PCM") + ", " +
                               std::to_string(channels) + " channel(s), " + std::to_string(rate) +
                               " Hz, " + std::to_string(bits) + " bits. " + convertHint(path);
                return result;
            }
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat) {
                break;
            }
            result.samples.resize(available / 2);
            for (std::size_t i = 0; i < result.samples.size(); ++i) {
                result.samples[i] = static_cast<std::int16_t>(u16(&bytes[body + 2 * i]));
            }
            return result;
        }
        pos = body + size + (size % 2);
    }
    result.error = path + ": no 16-bit mono PCM data found. " + convertHint(path);
    return result;
}

bool WriteWav(const std::string& path, const std::vector<std::int16_t>& samples) {
    std::string s = "RIFF";
    const auto dataBytes = static_cast<std::uint32_t>(2 * samples.size());
    put32(s, 36 + dataBytes);
    s += "WAVEfmt ";
    put32(s, 16);
    put16(s, 1);
    put16(s, 1);
    put32(s, Rate);
    put32(s, 2 * Rate);
    put16(s, 2);
    put16(s, 16);
    s += "data";
    put32(s, dataBytes);
    for (const std::int16_t v : samples) {
        put16(s, static_cast<std::uint16_t>(v));
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(s.data());
    return static_cast<bool>(writeFileAtomically(path, {data, s.size()}));
}

} // namespace tessimo::words
