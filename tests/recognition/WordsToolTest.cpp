// tessimo-words end to end on synthetic recordings, and its WAV reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

#include "Signals.h"
#include "WavFile.h"
#include "recognition/FrameAnalysis.h"
#include "support/HostileEntries.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;
namespace fs = std::filesystem;

struct WordsTool : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              (std::string("tessimo-words-") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }

    // Runs the tool; returns its exit status and fills output with stdout and stderr.
    int run(const std::string& arguments, std::string& output) const {
        // Bounded, so that a tool blocking on a file fails the test (status 124) instead of
        // hanging it.
        const std::string command =
            std::string("timeout 20 '") + TESSIMO_WORDS_PATH + "' " + arguments + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return -1;
        }
        output.clear();
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        const int status = pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void wav(const std::string& name, const Samples& s) const {
        ASSERT_TRUE(words::WriteWav(path(name), s));
    }
};

struct Detection {
    double seconds;
    int slot;
    double distance;
};

std::vector<Detection> parse(const std::string& output) {
    std::vector<Detection> found;
    std::istringstream in(output);
    Detection d;
    while (in >> d.seconds >> d.slot >> d.distance) {
        found.push_back(d);
    }
    return found;
}

constexpr int Second = 22000;

Samples floorNoise(double seconds, unsigned seed) {
    return noise(60, static_cast<int>(seconds * Second), seed);
}

// Three synthetic words over a noise floor: a rising chirp, a falling chirp, a two-tone chord.
Samples word(int which, double gain, unsigned seed) {
    const int n = static_cast<int>(0.6 * Second);
    Samples body;
    switch (which) {
    case 0:
        body = chirp(250, 700, 7000 * gain, n);
        break;
    case 1:
        body = chirp(2000, 1100, 7000 * gain, n);
        break;
    default:
        body = mix(tone(440, 4000 * gain, n), tone(1320, 3000 * gain, n));
        break;
    }
    return mix(body, floorNoise(0.6, seed));
}

TEST_F(WordsTool, RecordsTemplatesAndRecognisesAStreamOfWords) {
    wav("noise.wav", floorNoise(1.0, 1));
    for (int w = 0; w < 3; ++w) {
        wav("word" + std::to_string(w) + ".wav",
            concat({floorNoise(0.4, 10 + w), word(w, 1.0, 20 + w), floorNoise(0.4, 30 + w)}));
    }
    std::string out;
    ASSERT_EQ(run("record --noise " + path("noise.wav") + " --out " + path("t.dat") + " 0=" +
                      path("word0.wav") + " 12=" + path("word1.wav") + " 40=" + path("word2.wav"),
                  out),
              0)
        << out;

    ASSERT_EQ(run("info " + path("t.dat"), out), 0) << out;
    EXPECT_NE(out.find("slot 0: "), std::string::npos) << out;
    EXPECT_NE(out.find("slot 12: "), std::string::npos) << out;
    EXPECT_NE(out.find("slot 40: "), std::string::npos) << out;
    EXPECT_EQ(out.find("slot 1:"), std::string::npos) << out;

    // The same words said again: quieter or louder, over another noise floor.
    const Samples stream =
        concat({floorNoise(0.5, 40), word(1, 0.7, 41), floorNoise(0.7, 42), word(0, 1.3, 43),
                floorNoise(0.7, 44), word(2, 0.8, 45), floorNoise(0.7, 46)});
    wav("stream.wav", stream);
    ASSERT_EQ(run("recognise " + path("t.dat") + " " + path("stream.wav"), out), 0) << out;
    const auto found = parse(out);
    ASSERT_EQ(found.size(), 3u) << out;
    EXPECT_EQ(found[0].slot, 12);
    EXPECT_EQ(found[1].slot, 0);
    EXPECT_EQ(found[2].slot, 40);
    // Each word ends within a few buffers after its sound does (1.1 s, 2.4 s, 3.7 s).
    const double ends[] = {1.1, 2.4, 3.7};
    for (int i = 0; i < 3; ++i) {
        EXPECT_GT(found[i].seconds, ends[i]) << out;
        EXPECT_LT(found[i].seconds, ends[i] + 0.4) << out;
        EXPECT_LE(found[i].distance, 20000.0) << out;
    }

    // Without slot 12 among the candidates the first word is not reported as slot 12.
    ASSERT_EQ(
        run("recognise " + path("t.dat") + " " + path("stream.wav") + " --candidates 0,40", out), 0)
        << out;
    for (const auto& d : parse(out)) {
        EXPECT_NE(d.slot, 12) << out;
    }
}

TEST_F(WordsTool, WritesTheFramesOfAFileWithAndWithoutTrimming) {
    const Samples s = concat({floorNoise(0.5, 1), word(0, 1.0, 2), floorNoise(0.5, 3)});
    wav("in.wav", s);
    std::string out;
    ASSERT_EQ(run("frames " + path("in.wav") + " " + path("all.f32"), out), 0) << out;
    EXPECT_EQ(
        fs::file_size(path("all.f32")),
        static_cast<std::uintmax_t>(4 * FrameValues * FrameCount(static_cast<int>(s.size()))));

    // The first frame's values as AnalyseFrame gives them, little-endian.
    std::ifstream f(path("all.f32"), std::ios::binary);
    std::vector<unsigned char> bytes(4 * FrameValues);
    f.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const CFFT first = AnalyseFrame(s.data());
    for (int k = 0; k < FrameValues; ++k) {
        const std::uint32_t bits = bytes[4 * k] | (bytes[4 * k + 1] << 8) |
                                   (bytes[4 * k + 2] << 16) |
                                   (static_cast<std::uint32_t>(bytes[4 * k + 3]) << 24);
        float v;
        std::memcpy(&v, &bits, 4);
        ASSERT_EQ(v, first[k]) << k;
    }

    ASSERT_EQ(run("frames " + path("in.wav") + " " + path("trim.f32") + " --trim", out), 0) << out;
    const auto trimmed = fs::file_size(path("trim.f32")) / (4 * FrameValues);
    EXPECT_GE(trimmed, static_cast<std::uintmax_t>(FrameCount(static_cast<int>(0.6 * Second))));
    EXPECT_LT(trimmed, static_cast<std::uintmax_t>(FrameCount(static_cast<int>(s.size()))));
}

TEST_F(WordsTool, RefusesOtherFormatsAndSaysHowToConvert) {
    // 44100 Hz stereo 16-bit header with a little data.
    std::string header = "RIFF";
    const auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            header.push_back(static_cast<char>(v >> (8 * i)));
        }
    };
    const auto put16 = [&](std::uint16_t v) {
        header.push_back(static_cast<char>(v));
        header.push_back(static_cast<char>(v >> 8));
    };
    put32(36 + 8);
    header += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(2);
    put32(44100);
    put32(44100 * 4);
    put16(4);
    put16(16);
    header += "data";
    put32(8);
    header += std::string(8, '\0');
    std::ofstream(path("stereo.wav"), std::ios::binary) << header;
    std::ofstream(path("text.wav")) << "not a sound";

    std::string out;
    EXPECT_EQ(run("frames " + path("stereo.wav") + " " + path("x.f32"), out), 1);
    EXPECT_NE(out.find("44100 Hz"), std::string::npos) << out;
    EXPECT_NE(out.find("sox"), std::string::npos) << out;
    EXPECT_NE(out.find("-r 22000 -c 1 -b 16 -e signed-integer"), std::string::npos) << out;
    EXPECT_EQ(run("frames " + path("text.wav") + " " + path("x.f32"), out), 1);
    EXPECT_NE(out.find("sox"), std::string::npos) << out;
    EXPECT_EQ(run("info " + path("missing.dat"), out), 1);
    EXPECT_EQ(run("record --out " + path("t.dat") + " 84=" + path("text.wav"), out), 2);
    EXPECT_EQ(run("nonsense", out), 2);
}

TEST_F(WordsTool, FilesThatAreNotRegularAreRefusedRatherThanWaitedOn) {
    wav("word.wav", word(0, 1.0, 1));
    std::string out;
    ASSERT_EQ(run("record --noise " + path("word.wav") + " --out " + path("real.dat") +
                      " 3=" + path("word.wav"),
                  out),
              0)
        << out;
    for (Hostile kind : {Hostile::Fifo, Hostile::Socket, Hostile::Device, Hostile::Folder}) {
        const std::string entry = path("entry-" + expectedEntryType(kind));
        if (!makeHostile(kind, entry, "")) {
            ASSERT_EQ(kind, Hostile::Device);
            continue;
        }
        SCOPED_TRACE(hostileName(kind));
        EXPECT_EQ(run("info " + entry, out), 1);
        EXPECT_NE(out.find(hostileName(kind)), std::string::npos) << out;
        EXPECT_EQ(run("frames " + entry + " " + path("x.f32"), out), 1);
        EXPECT_NE(out.find(hostileName(kind)), std::string::npos) << out;
        EXPECT_EQ(run("recognise " + path("real.dat") + " " + entry, out), 1);
        // Nor is one written over.
        EXPECT_EQ(run("frames " + path("word.wav") + " " + entry, out), 1);
        EXPECT_NE(out.find(hostileName(kind)), std::string::npos) << out;
        EXPECT_EQ(run("record --noise " + path("word.wav") + " --out " + entry, out), 1);
        EXPECT_EQ(entryType(entry), expectedEntryType(kind));
    }
    EXPECT_FALSE(fs::exists(path("x.f32")));
    // A link named on the command line leads to its file.
    ASSERT_TRUE(makeLink(path("link.dat"), path("real.dat")));
    EXPECT_EQ(run("info " + path("link.dat"), out), 0) << out;
    EXPECT_NE(out.find("slot 3"), std::string::npos) << out;
}

TEST(WavFile, RoundTripAndACutDataChunk) {
    const fs::path p = fs::temp_directory_path() / "tessimo-wavfile-roundtrip.wav";
    const Samples s = {0, 1, -1, 32767, -32768, 1234};
    ASSERT_TRUE(words::WriteWav(p.string(), s));
    EXPECT_EQ(words::ReadWav(p.string()).samples, s);
    // A data chunk announcing more than the file holds gives what is there.
    fs::resize_file(p, fs::file_size(p) - 4);
    const auto cut = words::ReadWav(p.string());
    EXPECT_TRUE(cut.error.empty());
    EXPECT_EQ(cut.samples, (Samples{0, 1, -1, 32767}));
    fs::remove(p);
}

} // namespace
} // namespace tessimo
