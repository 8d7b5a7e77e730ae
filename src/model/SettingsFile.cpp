// Reading and writing the 516-byte settings file: 129 signed 32-bit little-endian integers,
// no header. The bytes are assembled one by one so the file is the same on any host.
#include <array>
#include <cerrno>
#include <cstdint>
#include <string>

#include "files/AtomicFileWrite.h"
#include "files/SafeFileOpen.h"
#include "model/SettingsRecord.h"

namespace tessimo {

namespace {

using FileBytes = std::array<std::uint8_t, SettingsFileSize>;

// Calls visit(field) for each of the 129 fields in file order.
template <typename Record, typename Visit> void forEachFileField(Record& r, Visit visit) {
    for (auto* single :
         {&r.speed, &r.beatsPerBar, &r.beatsPerBarChoice, &r.maxErrors, &r.maxUnknown, &r.clef,
          &r.namingConvention, &r.soundMode, &r.beatLength, &r.beatChoice, &r.instrument}) {
        visit(*single);
    }
    for (auto& v : r.durationChecks) {
        visit(v);
    }
    for (auto* single :
         {&r.errorLimitOn, &r.unknownLimitOn, &r.sustain, &r.intervalsTogether, &r.intervalsUp,
          &r.intervalsDown, &r.selectedNotesOnly, &r.dragWithMouse, &r.wheelChangesType}) {
        visit(*single);
    }
    for (auto& v : r.intervals) {
        visit(v);
    }
    for (auto& v : r.notes) {
        visit(v);
    }
    for (auto& v : r.durations) {
        visit(v);
    }
    for (auto& v : r.chords) {
        visit(v);
    }
}

std::int32_t decodeLittleEndian(const unsigned char* p) {
    const std::uint32_t u = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                            (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
    return static_cast<std::int32_t>(u); // two's complement, well defined since C++20
}

void encodeLittleEndian(std::int32_t value, unsigned char* p) {
    const auto u = static_cast<std::uint32_t>(value);
    p[0] = static_cast<unsigned char>(u & 0xFF);
    p[1] = static_cast<unsigned char>((u >> 8) & 0xFF);
    p[2] = static_cast<unsigned char>((u >> 16) & 0xFF);
    p[3] = static_cast<unsigned char>((u >> 24) & 0xFF);
}

} // namespace

int SettingsRecord::load(const std::string& path, SettingsReadFailure* failure) {
    const ReadOpenResult file = openRegularFileForReading(path);
    if (!file.opened()) {
        if (failure != nullptr) {
            *failure = {file.kind, file.error};
        }
        return -1;
    }
    FileBytes bytes{};
    const long read = readUpTo(file.file.fd(), bytes.data(), bytes.size());
    if (read < 0) {
        if (failure != nullptr) {
            *failure = {FileKind::Regular, errno};
        }
        return -1; // nothing trustworthy was read
    }
    const auto got = static_cast<std::size_t>(read);

    SettingsRecord loaded = *this;
    const std::size_t wholeFields = got / 4;
    std::size_t index = 0;
    forEachFileField(loaded, [&](std::int32_t& field) {
        if (index < wholeFields) {
            field = decodeLittleEndian(&bytes[index * 4]);
        }
        ++index;
    });
    loaded.makeValid();
    *this = loaded;
    return 0;
}

int SettingsRecord::save(const std::string& path, FileWriteResult* outcome) const {
    FileBytes bytes{};
    std::size_t index = 0;
    forEachFileField(*this, [&](const std::int32_t& field) {
        encodeLittleEndian(field, &bytes[index * 4]);
        ++index;
    });

    const FileWriteResult result = writeFileAtomically(path, bytes);
    if (outcome != nullptr) {
        *outcome = result;
    }
    return result ? 0 : -1;
}

} // namespace tessimo
