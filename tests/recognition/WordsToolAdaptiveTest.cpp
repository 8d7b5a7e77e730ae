// tessimo-words with --adaptive: templates recorded in a quiet room, a stream heard over a
// fan, a sound outside the vocabulary, and the words recorded too close together.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>

#include "Voices.h"
#include "WavFile.h"

namespace tessimo {
namespace {

using namespace tessimo::testing;
namespace fs = std::filesystem;

struct WordsToolAdaptive : ::testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              (std::string("tessimo-words-adaptive-") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    int run(const std::string& arguments, std::string& output) const {
        const std::string command =
            std::string("'") + TESSIMO_WORDS_PATH + "' " + arguments + " 2>&1";
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

Samples room(double amplitude, double seconds, unsigned seed) {
    return noise(amplitude, static_cast<int>(seconds * 22000), seed);
}

TEST_F(WordsToolAdaptive, RecordsAndRecognisesOverAFanAndNamesWordsTooClose) {
    wav("noise.wav", room(30, 0.5, 1));
    std::string args = "record --adaptive --noise " + path("noise.wav") + " --out " + path("t.dat");
    const double formants[3] = {0.95, 1.0, 1.05};
    const int classes[4] = {0, 2, 4, 5};
    for (int w = 0; w < 4; ++w) {
        for (int take = 0; take < 3; ++take) {
            const std::string name = "w" + std::to_string(w) + "-" + std::to_string(take) + ".wav";
            // Word 3 is recorded with the sounds of word 0: the two are too close.
            const int sound = w == 3 ? 0 : w;
            wav(name, concat({room(30, 0.15, 2),
                              syllable(shifted(Words[sound], formants[take]), 120 + 15 * take,
                                       0.42 + 0.08 * take, 3000),
                              room(30, 0.6, 3)}));
            args += " " + std::to_string(classes[w] + 12 * take) + "=" + path(name);
        }
    }
    std::string out;
    ASSERT_EQ(run(args, out), 0) << out;
    EXPECT_NE(out.find("too close: 0 and 5"), std::string::npos) << out;
    EXPECT_EQ(out.find("too close: 2 and 4"), std::string::npos) << out;

    // Over a fan 20 dB below the words: word 1 (class 2), then a hum that is no word.
    const Samples fan = room(300, 1.0, 4);
    wav("stream.wav",
        concat({fan, mix(syllable(shifted(Words[1], 0.98), 140, 0.52, 3000), room(300, 0.55, 5)),
                fan, mix(tone(220, 4000, 11000), room(300, 0.5, 6)), fan}));
    ASSERT_EQ(run("recognise " + path("t.dat") + " " + path("stream.wav") +
                      " --adaptive --candidates 0-35",
                  out),
              0)
        << out;
    std::istringstream lines(out);
    double seconds = 0.0;
    std::string slot, distance;
    ASSERT_TRUE(lines >> seconds >> slot >> distance) << out;
    EXPECT_EQ(std::stoi(slot) % 12, 2) << out;
    EXPECT_GT(seconds, 1.0);
    ASSERT_TRUE(lines >> seconds >> slot) << out;
    EXPECT_EQ(slot, "?") << out;

    // Without --adaptive the documented path runs: over the fan no word ever ends.
    ASSERT_EQ(run("recognise " + path("t.dat") + " " + path("stream.wav"), out), 0) << out;
    EXPECT_EQ(out, "");
}

} // namespace
} // namespace tessimo
