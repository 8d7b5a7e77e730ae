// Template files that would cost far more than a real one: more records than slots, slots
// given twice, files larger than any valid one; and entries that are not regular files.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <unistd.h>

#include "recognition/CRecognizer.h"
#include "recognition/FrameAnalysis.h"
#include "recognition/TemplateFile.h"
#include "support/HostileEntries.h"
#include "support/Watchdog.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;
namespace fs = std::filesystem;
using Present = std::array<std::uint8_t, TemplateSlotCount>;
using Bytes = std::vector<std::uint8_t>;

void putU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// The smallest record there is: one sample, no frame (14 bytes).
void tinyRecord(Bytes& b, std::uint32_t slot) {
    putU32(b, slot);
    putU32(b, 2);
    b.push_back(static_cast<std::uint8_t>(slot));
    b.push_back(0);
    putU32(b, 0);
}

Bytes noiseLevelOne() {
    Bytes b;
    putU32(b, 0x3F800000u); // 1.0f
    return b;
}

struct TemplateLimits : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tessimo-limits-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    static void write(const std::string& p, const Bytes& bytes) {
        std::ofstream out(p, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    // A recogniser holding a word in slot 5 and noise level 7, to see that nothing changes.
    static void prime(CRecognizer& r) {
        Bytes b;
        putU32(b, 0x40E00000u); // 7.0f
        tinyRecord(b, 5);
        ASSERT_TRUE(ParseTemplateFile(b).has_value());
        const fs::path file =
            fs::temp_directory_path() / ("tessimo-prime-" + std::to_string(::getpid()) + ".dat");
        write(file.string(), b);
        Present present{};
        ASSERT_EQ(r.LoadTemplates(file.string(), present), 0);
        fs::remove(file);
    }
    static void expectUnchanged(const CRecognizer& r, const Present& present,
                                const std::string& what) {
        EXPECT_EQ(present, Present{}) << what;
        EXPECT_EQ(r.noiseLevel(), 7.0f) << what;
        EXPECT_EQ(r.slot(5).samples, std::vector<std::int16_t>{5}) << what;
    }
};

TEST_F(TemplateLimits, EverySlotOnceIsTheMostAFileCanHold) {
    Bytes all = noiseLevelOne();
    for (std::uint32_t slot = 0; slot < TemplateSlotCount; ++slot) {
        tinyRecord(all, (slot * 37) % TemplateSlotCount); // any order, each slot once
    }
    const auto parsed = ParseTemplateFile(all);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->records.size(), static_cast<std::size_t>(TemplateSlotCount));

    Bytes twice = noiseLevelOne();
    tinyRecord(twice, 12);
    tinyRecord(twice, 40);
    tinyRecord(twice, 12);
    EXPECT_FALSE(ParseTemplateFile(twice).has_value());

    Bytes oneMore = all;
    tinyRecord(oneMore, 0);
    EXPECT_FALSE(ParseTemplateFile(oneMore).has_value());
}

// Peak resident memory of this process so far, in bytes.
std::uint64_t peakMemory() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
}

TEST_F(TemplateLimits, MillionsOfTinyRecordsAreRefusedWithoutTheirCostInMemory) {
    constexpr std::uint32_t rounds = 35715; // of 84 records each: about three million
    constexpr std::uint32_t count = rounds * TemplateSlotCount;
    std::uint64_t fileSize = 0;
    {
        Bytes round;
        for (std::uint32_t slot = 0; slot < TemplateSlotCount; ++slot) {
            tinyRecord(round, slot);
        }
        Bytes many = noiseLevelOne();
        many.reserve(4 + round.size() * rounds);
        for (std::uint32_t i = 0; i < rounds; ++i) {
            many.insert(many.end(), round.begin(), round.end());
        }
        write(path("many.dat"), many);
        fileSize = many.size();
    } // the peak so far holds the file's bytes once
    CRecognizer r;
    prime(r);
    Present present;
    present.fill(1);
    const std::uint64_t before = peakMemory();
    int result = 0;
    {
        const Watchdog guard("loading millions of tiny records");
        result = r.LoadTemplates(path("many.dat"), present);
    }
    const std::uint64_t grown = peakMemory() - before;
    EXPECT_EQ(result, -1);
    expectUnchanged(r, present, "millions of records");
    // Reading the file costs its size once (a little more under a sanitizer's allocator);
    // holding three million records would take about ten times that.
    EXPECT_LT(grown, 3 * fileSize) << "the peak grew by " << grown << " bytes";
    std::printf("%u tiny records (%llu bytes) refused; peak memory grew by %llu bytes\n", count,
                static_cast<unsigned long long>(fileSize), static_cast<unsigned long long>(grown));
}

TEST_F(TemplateLimits, TheLargestValidFileFollowsFromTheFormatAndAnythingBiggerIsNotRead) {
    // 84 records of the longest recording (20 s at 22000 Hz) with all their frames: slot,
    // sample byte count, the samples, frame count, the frames of 512 floats.
    const std::uint64_t samples = 20 * 22000;
    const std::uint64_t frames = (samples - 2048) / 1024 + 2;
    const std::uint64_t record = 4 + 4 + 2 * samples + 4 + frames * 512 * 4;
    EXPECT_EQ(MaxTemplateFileBytes(), 4 + 84 * record);

    // A sparse file one byte over the bound: refused from its size, before any read.
    const std::string huge = path("huge.dat");
    write(huge, noiseLevelOne());
    fs::resize_file(huge, MaxTemplateFileBytes() + 1);
    EXPECT_FALSE(ReadWholeFile(huge, MaxTemplateFileBytes()).has_value());
    fs::resize_file(huge, std::uint64_t{1} << 36); // 64 GB of nothing
    CRecognizer r;
    prime(r);
    Present present;
    present.fill(1);
    const auto start = std::chrono::steady_clock::now();
    {
        const Watchdog guard("loading a huge template file");
        EXPECT_EQ(r.LoadTemplates(huge, present), -1);
    }
    const auto took = std::chrono::steady_clock::now() - start;
    expectUnchanged(r, present, "a huge file");
    // Reading even the first 148 MB would take far longer than looking at the size.
    EXPECT_LT(took, std::chrono::milliseconds(500));
    std::printf("a 64 GB template file refused in %.2f ms\n",
                std::chrono::duration<double, std::milli>(took).count());
}

TEST_F(TemplateLimits, EntriesThatAreNotRegularFilesAreRefusedAtOnce) {
    Bytes valid = noiseLevelOne();
    tinyRecord(valid, 3);
    write(path("real.dat"), valid);
    for (Hostile kind : allHostileKinds()) {
        const std::string name = std::string("record-") + hostileName(kind) + ".dat";
        if (!makeHostile(kind, path(name), path("real.dat"))) {
            ASSERT_EQ(kind, Hostile::Device);
            continue;
        }
        CRecognizer r;
        prime(r);
        Present present;
        present.fill(1);
        {
            const Watchdog guard(std::string("loading templates from a ") + hostileName(kind));
            EXPECT_EQ(r.LoadTemplates(path(name), present), -1) << hostileName(kind);
        }
        expectUnchanged(r, present, hostileName(kind));
        EXPECT_EQ(entryType(path(name)), expectedEntryType(kind));
    }
}

} // namespace
} // namespace tessimo
