#include "recognition/TemplateFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "files/SafeFileOpen.h"
#include "recognition/FrameAnalysis.h"

namespace tessimo {
namespace {

void putU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

void putFloat(std::vector<std::uint8_t>& out, float f) {
    std::uint32_t v;
    std::memcpy(&v, &f, 4);
    putU32(out, v);
}

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    std::size_t remaining() const { return bytes_.size() - position_; }
    bool atEnd() const { return position_ == bytes_.size(); }

    bool u32(std::uint32_t& v) {
        if (remaining() < 4) {
            return false;
        }
        v = 0;
        for (int i = 0; i < 4; ++i) {
            v |= static_cast<std::uint32_t>(bytes_[position_ + i]) << (8 * i);
        }
        position_ += 4;
        return true;
    }
    bool i32(std::int32_t& v) {
        std::uint32_t u;
        if (!u32(u)) {
            return false;
        }
        v = static_cast<std::int32_t>(u);
        return true;
    }
    // The next n bytes, or null when fewer remain.
    const std::uint8_t* take(std::size_t n) {
        if (remaining() < n) {
            return nullptr;
        }
        const std::uint8_t* p = bytes_.data() + position_;
        position_ += n;
        return p;
    }
    bool f32(float& f) {
        std::uint32_t u;
        if (!u32(u)) {
            return false;
        }
        std::memcpy(&f, &u, 4);
        return true;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t position_ = 0;
};

} // namespace

std::vector<std::uint8_t> EncodeTemplateFile(float noiseLevel,
                                             const std::array<WordSlot, WordSlotCount>& slots) {
    std::vector<std::uint8_t> out;
    putFloat(out, noiseLevel);
    for (int slot = 0; slot < TemplateSlotCount; ++slot) {
        const WordSlot& word = slots[static_cast<std::size_t>(slot)];
        if (word.length() == 0) {
            continue;
        }
        putU32(out, static_cast<std::uint32_t>(slot));
        putU32(out, word.length());
        for (const std::int16_t s : word.samples) {
            const auto u = static_cast<std::uint16_t>(s);
            out.push_back(static_cast<std::uint8_t>(u));
            out.push_back(static_cast<std::uint8_t>(u >> 8));
        }
        putU32(out, static_cast<std::uint32_t>(word.frames.GetSize()));
        for (int f = 0; f < word.frames.GetSize(); ++f) {
            const CFFT& frame = word.frames[f];
            for (int k = 0; k < FrameValues; ++k) {
                putFloat(out, k < frame.size() ? frame[k] : 0.0f);
            }
        }
    }
    return out;
}

std::uint64_t MaxTemplateFileBytes() {
    const std::uint64_t record =
        12 + 2ull * MaxTemplateSamples + 4ull * FrameValues * MaxTemplateFrames;
    return 4 + TemplateSlotCount * record;
}

std::optional<TemplateFileContents> ParseTemplateFile(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() > MaxTemplateFileBytes()) {
        return std::nullopt;
    }
    Reader in(bytes);
    TemplateFileContents contents;
    if (!in.f32(contents.noiseLevel) || !std::isfinite(contents.noiseLevel)) {
        return std::nullopt;
    }
    std::array<bool, TemplateSlotCount> seen{};
    while (!in.atEnd()) {
        std::int32_t slot = 0;
        std::uint32_t length = 0;
        std::int32_t frameCount = 0;
        if (!in.i32(slot) || slot < 0 || slot >= TemplateSlotCount ||
            seen[static_cast<std::size_t>(slot)]) {
            return std::nullopt;
        }
        seen[static_cast<std::size_t>(slot)] = true;
        if (!in.u32(length) || length == 0 || length % 2 != 0 || length > 2 * MaxTemplateSamples) {
            return std::nullopt;
        }
        const std::uint8_t* sampleBytes = in.take(length);
        if (sampleBytes == nullptr || !in.i32(frameCount) || frameCount < 0 ||
            frameCount > MaxTemplateFrames) {
            return std::nullopt;
        }
        const std::size_t valueCount = static_cast<std::size_t>(frameCount) * FrameValues;
        const std::uint8_t* frameBytes = in.take(4 * valueCount);
        if (frameBytes == nullptr) {
            return std::nullopt;
        }
        TemplateRecord record;
        record.slot = slot;
        record.samples.resize(length / 2);
        for (std::size_t i = 0; i < record.samples.size(); ++i) {
            const auto u =
                static_cast<std::uint16_t>(sampleBytes[2 * i] | (sampleBytes[2 * i + 1] << 8));
            record.samples[i] = static_cast<std::int16_t>(u);
        }
        record.frameValues.resize(valueCount);
        for (std::size_t i = 0; i < valueCount; ++i) {
            const std::uint8_t* b = frameBytes + 4 * i;
            const std::uint32_t u =
                static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
            std::memcpy(&record.frameValues[i], &u, 4);
        }
        contents.records.push_back(std::move(record));
    }
    return contents;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       std::uint64_t maxBytes) {
    const ReadOpenResult file = openRegularFileForReading(path);
    if (!file.opened() || file.size > maxBytes) {
        return std::nullopt;
    }
    // Sized from the file, read in one pass; one byte more than the limit tells a file that
    // grew past it since it was looked at.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size) + 1);
    std::size_t got = 0;
    for (;;) {
        const long n = readUpTo(file.file.fd(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            return std::nullopt;
        }
        got += static_cast<std::size_t>(n);
        if (got > maxBytes) {
            return std::nullopt;
        }
        if (got < bytes.size()) {
            bytes.resize(got);
            return bytes;
        }
        bytes.resize(std::min<std::uint64_t>(2 * bytes.size(), maxBytes + 1));
    }
}

} // namespace tessimo
