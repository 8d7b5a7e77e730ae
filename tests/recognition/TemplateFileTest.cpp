#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include <unistd.h>

#include "Feeding.h"
#include "Signals.h"
#include "recognition/CRecognizer.h"
#include "recognition/FrameAnalysis.h"
#include "recognition/TemplateFile.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;
namespace fs = std::filesystem;
using Present = std::array<std::uint8_t, TemplateSlotCount>;
using Bytes = std::vector<std::uint8_t>;

struct TemplateFile : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("tessimo-templates-" +
               std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const char* name) const { return (dir / name).string(); }

    static void write(const std::string& p, const Bytes& bytes) {
        std::ofstream out(p, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes read(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    // A recogniser with a noise level and words in slots 0, 17 and 83.
    static void fill(CRecognizer& r) {
        r.StartNoiseMeasure();
        feed(r, noise(30, 4096));
        const int slots[] = {0, 17, 83};
        for (int i = 0; i < 3; ++i) {
            r.StartWordRecording(slots[i]);
            feed(r, concat({Samples(3000, 0), chirp(200 + 300 * i, 1000, 6000, 5000 + 1000 * i),
                            noise(30, 3000, static_cast<unsigned>(i))}));
            r.StopCapture();
        }
    }
};

void putU32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}
void putFloat(Bytes& b, float f) {
    std::uint32_t v;
    std::memcpy(&v, &f, 4);
    putU32(b, v);
}
// A record of the given slot with two samples (1, -2) and frameCount frames of value slot.
Bytes record(std::int32_t slot, int frameCount = 1) {
    Bytes b;
    putU32(b, static_cast<std::uint32_t>(slot));
    putU32(b, 4);
    for (const std::uint8_t byte : {0x01, 0x00, 0xFE, 0xFF}) {
        b.push_back(byte);
    }
    putU32(b, static_cast<std::uint32_t>(frameCount));
    for (int i = 0; i < frameCount * FrameValues; ++i) {
        putFloat(b, static_cast<float>(slot));
    }
    return b;
}
Bytes withNoise(float noise, std::initializer_list<Bytes> records) {
    Bytes b;
    putFloat(b, noise);
    for (const auto& r : records) {
        b.insert(b.end(), r.begin(), r.end());
    }
    return b;
}

TEST_F(TemplateFile, RoundTripRestoresEveryTemplateAndTheNoiseLevel) {
    CRecognizer saved;
    fill(saved);
    ASSERT_EQ(saved.SaveTemplates(path("recordAnna.dat")), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    CRecognizer loaded;
    Present present;
    ASSERT_EQ(loaded.LoadTemplates(path("recordAnna.dat"), present), 0);
    EXPECT_EQ(loaded.noiseLevel(), saved.noiseLevel());
    for (int slot = 0; slot < TemplateSlotCount; ++slot) {
        const WordSlot& a = saved.slot(slot);
        const WordSlot& b = loaded.slot(slot);
        EXPECT_EQ(present[static_cast<std::size_t>(slot)], a.length() != 0 ? 1 : 0) << slot;
        ASSERT_EQ(a.samples, b.samples) << slot;
        ASSERT_EQ(a.frames.GetSize(), b.frames.GetSize()) << slot;
        for (int f = 0; f < a.frames.GetSize(); ++f) {
            ASSERT_EQ(0, std::memcmp(a.frames[f].values(), b.frames[f].values(),
                                     sizeof(float) * FrameValues));
        }
    }
    EXPECT_EQ(present[17], 1);
    // Saving what was loaded gives the same bytes.
    ASSERT_EQ(loaded.SaveTemplates(path("again.dat")), 0);
    EXPECT_EQ(read(path("recordAnna.dat")), read(path("again.dat")));
}

TEST_F(TemplateFile, BytesAreLaidOutAsRecordsInSlotOrder) {
    CRecognizer r;
    Present present;
    const Bytes file = withNoise(12.5f, {record(3), record(70, 2)});
    write(path("in.dat"), file);
    ASSERT_EQ(r.LoadTemplates(path("in.dat"), present), 0);
    EXPECT_EQ(r.noiseLevel(), 12.5f);
    EXPECT_EQ(r.slot(3).samples, (Samples{1, -2}));
    EXPECT_EQ(r.slot(70).frames.GetSize(), 2);
    EXPECT_EQ(r.slot(70).frames[1][511], 70.0f);
    ASSERT_EQ(r.SaveTemplates(path("out.dat")), 0);
    EXPECT_EQ(read(path("out.dat")), file);
}

TEST_F(TemplateFile, NoTemplatesMeansJustTheNoiseLevel) {
    CRecognizer empty;
    empty.setNoiseLevel(3.0f);
    ASSERT_EQ(empty.SaveTemplates(path("empty.dat")), 0);
    EXPECT_EQ(read(path("empty.dat")), withNoise(3.0f, {}));

    CRecognizer r;
    fill(r);
    Present present;
    present.fill(1);
    ASSERT_EQ(r.LoadTemplates(path("empty.dat"), present), 0);
    EXPECT_EQ(present, Present{});
    EXPECT_EQ(r.noiseLevel(), 3.0f);
    EXPECT_NE(r.slot(17).length(), 0u); // slots the file does not mention are kept
}

TEST_F(TemplateFile, MalformedFilesAreRejectedWholeAndChangeNothing) {
    const float inf = std::numeric_limits<float>::infinity();
    Bytes tooLong = withNoise(1.0f, {});
    putU32(tooLong, 5);
    putU32(tooLong, 2 * MaxTemplateSamples + 2);
    Bytes frameCountTooBig = withNoise(1.0f, {record(5)});
    frameCountTooBig[4 + 4 + 4 + 4] = 2; // two frames announced, one present
    Bytes negativeFrames = withNoise(1.0f, {record(5)});
    std::memset(&negativeFrames[4 + 4 + 4 + 4], 0xFF, 4);
    Bytes oddLength = withNoise(1.0f, {record(5)});
    oddLength[8] = 3;
    Bytes zeroLength = withNoise(1.0f, {record(5)});
    zeroLength[8] = 0;
    const std::vector<std::pair<const char*, Bytes>> cases = {
        {"slot 84", withNoise(1.0f, {record(2), record(84)})},
        {"slot -1", withNoise(1.0f, {record(-1)})},
        {"infinite noise", withNoise(inf, {record(2)})},
        {"not-a-number noise", withNoise(std::nanf(""), {})},
        {"oversized length", tooLong},
        {"odd length", oddLength},
        {"zero length", zeroLength},
        {"frames past the end", frameCountTooBig},
        {"negative frame count", negativeFrames},
        {"shorter than the noise level", Bytes{0, 0}},
        {"empty", Bytes{}},
    };
    CRecognizer r;
    fill(r);
    const float noise = r.noiseLevel();
    const Samples slot17 = r.slot(17).samples;
    for (const auto& [name, bytes] : cases) {
        write(path("bad.dat"), bytes);
        Present present;
        present.fill(1);
        EXPECT_EQ(r.LoadTemplates(path("bad.dat"), present), -1) << name;
        EXPECT_EQ(present, Present{}) << name;
        EXPECT_EQ(r.noiseLevel(), noise) << name;
        EXPECT_EQ(r.slot(17).samples, slot17) << name;
        EXPECT_EQ(r.slot(2).length(), 0u) << name;
    }
}

TEST_F(TemplateFile, EveryCutThroughARecordIsRejected) {
    const Bytes file = withNoise(1.0f, {record(2), record(9)});
    const std::size_t recordSize = record(2).size();
    for (std::size_t cut = 0; cut < file.size(); ++cut) {
        const auto parsed = ParseTemplateFile(Bytes(file.begin(), file.begin() + cut));
        const bool atBoundary = cut == 4 || cut == 4 + recordSize;
        EXPECT_EQ(parsed.has_value(), atBoundary) << "cut at " << cut;
    }
}

TEST_F(TemplateFile, MissingFileAndUnwritablePath) {
    CRecognizer r;
    Present present;
    present.fill(1);
    EXPECT_EQ(r.LoadTemplates(path("nothing.dat"), present), -1);
    EXPECT_EQ(present, Present{});
    EXPECT_EQ(r.LoadTemplates(dir.string(), present), -1); // a directory
    EXPECT_EQ(r.SaveTemplates(path("no/such/dir/record.dat")), -1);
    EXPECT_EQ(r.SaveTemplates(dir.string()), -1); // cannot replace a directory
    EXPECT_TRUE(fs::is_directory(dir));
    // The temporary file of the failed save, made beside the target, is gone.
    const std::string prefix = ".tessimo-" + std::to_string(::getpid()) + "-";
    for (const auto& e : fs::directory_iterator(dir.parent_path())) {
        EXPECT_NE(e.path().filename().string().rfind(prefix, 0), 0u) << e.path();
    }
}

TEST_F(TemplateFile, SavingNeverWritesThroughALinkAtTheTemporaryName) {
    // Another file, and a link where a fixed temporary name would be: the save must neither
    // write into that file nor leave the template file pointing at it.
    write(path("other.dat"), Bytes{1, 2, 3});
    fs::create_symlink(path("other.dat"), path("record.dat.tmp"));
    CRecognizer r;
    r.setNoiseLevel(3.0f);
    ASSERT_EQ(r.SaveTemplates(path("record.dat")), 0);
    EXPECT_EQ(read(path("other.dat")), (Bytes{1, 2, 3}));
    EXPECT_FALSE(fs::is_symlink(path("record.dat")));
    EXPECT_EQ(read(path("record.dat")), withNoise(3.0f, {}));
    // Nothing but the three names is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
}

TEST_F(TemplateFile, SavingReplacesTheWholeFile) {
    write(path("record.dat"), Bytes(100000, 0xAB));
    CRecognizer r;
    r.setNoiseLevel(2.0f);
    ASSERT_EQ(r.SaveTemplates(path("record.dat")), 0);
    EXPECT_EQ(read(path("record.dat")), withNoise(2.0f, {}));
}

} // namespace
} // namespace tessimo
