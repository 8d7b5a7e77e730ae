#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "model/SettingsRecord.h"

namespace tessimo {
namespace {

namespace fs = std::filesystem;

// A fresh directory per test, removed afterwards.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tessimo-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }

    std::string path(const std::string& name = "config.dat") const {
        return (dir_ / name).string();
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) {
            names.push_back(e.path().filename().string());
        }
        return names;
    }

    static std::vector<unsigned char> readBytes(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static void writeBytes(const std::string& p, const std::vector<unsigned char>& bytes) {
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    // Little-endian image of a list of integers, built independently of the code under test.
    static std::vector<unsigned char> image(const std::vector<std::int32_t>& values) {
        std::vector<unsigned char> bytes;
        for (std::int32_t v : values) {
            const auto u = static_cast<std::uint32_t>(v);
            for (int shift = 0; shift < 32; shift += 8) {
                bytes.push_back(static_cast<unsigned char>(u >> shift));
            }
        }
        return bytes;
    }

    fs::path dir_;
};

// The 129 integers of a file written with the defaults.
std::vector<std::int32_t> defaultFileValues() {
    std::vector<std::int32_t> v = {3, 4, 2, 10, 10, 0, 0, 2, 32, 4, 0};
    v.insert(v.end(), {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0}); // durationChecks
    v.insert(v.end(), {0, 0, 1, 1, 0, 0, 0, 1, 0});                // flags
    v.insert(v.end(), 13, 1);                                      // intervals
    for (int octave = 0; octave < 4; ++octave) {
        v.insert(v.end(), {1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0, 1});
    }
    v.insert(v.end(), {0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0}); // durations
    v.insert(v.end(), 20, 1);                                      // chords
    return v;
}

// A valid record far from the defaults, with odd values kept in the unnamed chord slots.
SettingsRecord unusualRecord() {
    SettingsRecord r;
    r.speed = 10;
    r.beatsPerBarChoice = 1;
    r.maxErrors = 99;
    r.maxUnknown = 1;
    r.clef = Bass;
    r.namingConvention = 2;
    r.soundMode = Voice;
    r.beatChoice = 7;
    r.instrument = 127;
    r.errorLimitOn = 1;
    r.sustain = 0;
    r.intervalsUp = 1;
    r.wheelChangesType = 1;
    r.intervals = {1, 0, 1, 0, 0, 1, 1, 0, 0, 0, 0, 1, 1};
    r.notes.fill(0);
    r.notes[0] = r.notes[47] = r.notes[25] = 1;
    r.durations = {1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 1};
    r.chords = {0, 1, 0, 1, 0, 1, 0, 0, 0, 1, 7, -3, 0, 1, 0, 0, 0, 0, INT_MAX, INT_MIN};
    r.makeValid();
    return r;
}

TEST_F(SettingsFileTest, DefaultsAreConsistentAndSaveTheExactImage) {
    SettingsRecord defaults;
    EXPECT_TRUE(defaults.isValid());
    EXPECT_EQ(defaults.durationCount, 2);
    EXPECT_EQ(defaults.durationList[0], 4);
    EXPECT_EQ(defaults.durationList[1], 5);
    SettingsRecord rebuilt = defaults;
    rebuilt.makeValid();
    EXPECT_EQ(rebuilt, defaults);

    ASSERT_EQ(defaults.save(path()), 0);
    const auto bytes = readBytes(path());
    ASSERT_EQ(bytes.size(), 516u);
    EXPECT_EQ(bytes, image(defaultFileValues()));
    // little-endian whatever the host: speed 3 is 03 00 00 00, beatLength 32 at offset 32
    EXPECT_EQ(bytes[0], 3);
    EXPECT_EQ(bytes[3], 0);
    EXPECT_EQ(bytes[32], 32);
    EXPECT_EQ(entries(), std::vector<std::string>{"config.dat"});
}

TEST_F(SettingsFileTest, RoundTripKeepsEveryFieldAndTheUnnamedChordSlots) {
    const SettingsRecord written = unusualRecord();
    ASSERT_TRUE(written.isValid());
    ASSERT_EQ(written.save(path()), 0);

    SettingsRecord read;
    ASSERT_EQ(read.load(path()), 0);
    EXPECT_EQ(read, written);
    EXPECT_EQ(read.chords[10], 7);
    EXPECT_EQ(read.chords[19], INT_MIN);
    EXPECT_EQ(read.durationCount, 4);
    EXPECT_EQ(read.beatLength, 96);
    EXPECT_EQ(read.beatsPerBar, 3);

    // saving again over the existing file gives the same bytes
    const auto first = readBytes(path());
    ASSERT_EQ(read.save(path()), 0);
    EXPECT_EQ(readBytes(path()), first);
    EXPECT_EQ(entries(), std::vector<std::string>{"config.dat"});
}

TEST_F(SettingsFileTest, SaveKeepsThePermissionsOfTheFileItReplaces) {
    ASSERT_EQ(SettingsRecord{}.save(path()), 0);
    fs::permissions(path(), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(unusualRecord().save(path()), 0);
    EXPECT_EQ(fs::status(path()).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(SettingsFileTest, LoadOfAnUnreadablePathFailsAndChangesNothing) {
    SettingsRecord r = unusualRecord();
    const SettingsRecord before = r;
    EXPECT_EQ(r.load(path("missing.dat")), -1);
    EXPECT_EQ(r.load(dir_.string()), -1); // a directory opens but cannot be read
    EXPECT_EQ(r, before);
}

TEST_F(SettingsFileTest, ShortFilesSetOnlyTheFieldsTheyCover) {
    const SettingsRecord before = unusualRecord();
    auto values = defaultFileValues();

    // 100 bytes: the first eleven fields and durationChecks; everything later is kept, and
    // the kept durations decide the checks the dialog shows.
    values.resize(25);
    values[0] = 7;       // speed
    values[40 / 4] = 5;  // instrument
    values[11 + 13] = 1; // durationChecks[13], the dotted whole
    writeBytes(path(), image(values));
    SettingsRecord r = before;
    ASSERT_EQ(r.load(path()), 0);
    EXPECT_EQ(r.speed, 7);
    EXPECT_EQ(r.beatsPerBarChoice, 2);
    EXPECT_EQ(r.beatsPerBar, 4);
    EXPECT_EQ(r.beatChoice, 4);
    EXPECT_EQ(r.beatLength, 32);
    EXPECT_EQ(r.instrument, 5);
    EXPECT_EQ(r.clef, Treble);
    EXPECT_EQ(r.errorLimitOn, before.errorLimitOn);
    EXPECT_EQ(r.intervals, before.intervals);
    EXPECT_EQ(r.notes, before.notes);
    EXPECT_EQ(r.durations, before.durations);
    EXPECT_EQ(r.durationChecks, before.durationChecks);
    EXPECT_EQ(r.chords, before.chords);
    EXPECT_TRUE(r.isValid());

    // A file ending inside a field keeps that field's earlier value.
    auto partial = image({6, 5, 1});
    partial.push_back(42); // one byte of maxErrors
    writeBytes(path(), partial);
    r = before;
    ASSERT_EQ(r.load(path()), 0);
    EXPECT_EQ(r.speed, 6);
    EXPECT_EQ(r.beatsPerBarChoice, 1);
    EXPECT_EQ(r.beatsPerBar, 3); // derived from the choice, not the file's 5
    EXPECT_EQ(r.maxErrors, before.maxErrors);

    // Three bytes and an empty file change nothing.
    for (std::size_t size : {3u, 0u}) {
        writeBytes(path(), std::vector<unsigned char>(size, 0x55));
        r = before;
        ASSERT_EQ(r.load(path()), 0);
        EXPECT_EQ(r, before) << size << " bytes";
    }
}

TEST_F(SettingsFileTest, BytesAfterTheLastFieldAreIgnored) {
    const SettingsRecord expected = unusualRecord();
    ASSERT_EQ(expected.save(path()), 0);
    auto bytes = readBytes(path());
    bytes.insert(bytes.end(), 200, 0xFF);
    writeBytes(path(), bytes);
    SettingsRecord r;
    ASSERT_EQ(r.load(path()), 0);
    EXPECT_EQ(r, expected);
}

TEST_F(SettingsFileTest, HostileValuesAreBroughtToTheNearestValidValue) {
    auto values = defaultFileValues();
    values[0] = INT_MIN;   // speed
    values[1] = 1000;      // beatsPerBar, derived
    values[2] = 9;         // beatsPerBarChoice
    values[3] = 0;         // maxErrors
    values[4] = INT_MAX;   // maxUnknown
    values[5] = -4;        // clef
    values[6] = 3;         // namingConvention
    values[7] = -1;        // soundMode
    values[8] = 17;        // beatLength, derived
    values[9] = 8;         // beatChoice
    values[10] = 128;      // instrument
    values[11] = 1;        // durationChecks[0]: disagrees with durations and loses
    values[25] = -1;       // errorLimitOn
    values[26] = 2;        // unknownLimitOn
    values[34 + 5] = 9;    // intervals[5]
    values[47 + 1] = -7;   // notes[1]
    values[95 + 0] = 3;    // durations[0]
    values[95 + 5] = 0;    // durations[5]
    values[109 + 2] = 5;   // chords[2]
    values[109 + 3] = 0;   // chords[3]
    values[109 + 12] = 99; // chords[12], unnamed: kept as held
    writeBytes(path(), image(values));

    SettingsRecord r;
    ASSERT_EQ(r.load(path()), 0);
    EXPECT_TRUE(r.isValid());
    EXPECT_EQ(r.speed, 0);
    EXPECT_EQ(r.beatsPerBarChoice, 4);
    EXPECT_EQ(r.beatsPerBar, 6);
    EXPECT_EQ(r.maxErrors, 1);
    EXPECT_EQ(r.maxUnknown, 99);
    EXPECT_EQ(r.clef, 0);
    EXPECT_EQ(r.namingConvention, 2);
    EXPECT_EQ(r.soundMode, 0);
    EXPECT_EQ(r.beatChoice, 7);
    EXPECT_EQ(r.beatLength, 96);
    EXPECT_EQ(r.instrument, 127);
    EXPECT_EQ(r.errorLimitOn, 1);
    EXPECT_EQ(r.unknownLimitOn, 1);
    EXPECT_EQ(r.intervals[5], 1);
    EXPECT_EQ(r.notes[1], 1);
    EXPECT_EQ(r.chords[2], 1);
    EXPECT_EQ(r.chords[3], 0);
    EXPECT_EQ(r.chords[12], 99);
    // durations win: dotted whole and dotted quarter, the checks mirror them
    EXPECT_EQ(r.durationCount, 2);
    EXPECT_EQ(r.durationList[0], 0);
    EXPECT_EQ(r.durationList[1], 4);
    const std::array<std::int32_t, 14> checks = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1};
    EXPECT_EQ(r.durationChecks, checks);
}

TEST_F(SettingsFileTest, SaveIntoAMissingDirectoryFailsCleanly) {
    SettingsRecord r;
    EXPECT_EQ(r.save(path("no-such-dir/config.dat")), -1);
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(r.save(dir_.string()), -1); // the target is a directory
    EXPECT_TRUE(entries().empty());
}

TEST_F(SettingsFileTest, SaveIntoAReadOnlyDirectoryKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind root";
    }
    ASSERT_EQ(SettingsRecord{}.save(path()), 0);
    const auto old = readBytes(path());
    fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(unusualRecord().save(path()), -1);
    fs::permissions(dir_, fs::perms::owner_all);
    EXPECT_EQ(readBytes(path()), old);
    EXPECT_EQ(entries(), std::vector<std::string>{"config.dat"});
}

TEST_F(SettingsFileTest, AWriteFailingHalfwayKeepsTheOldFileAndLeavesNoTemporary) {
    ASSERT_EQ(SettingsRecord{}.save(path()), 0);
    const auto old = readBytes(path());

    // Limit the size of files this process may write, so the 516-byte write fails.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = unusualRecord().save(path());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, -1);
    EXPECT_EQ(readBytes(path()), old);
    EXPECT_EQ(entries(), std::vector<std::string>{"config.dat"});
}

} // namespace
} // namespace tessimo
