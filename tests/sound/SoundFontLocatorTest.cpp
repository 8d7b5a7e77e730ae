#include "sound/SoundFontLocator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

using namespace tessimo;
namespace fs = std::filesystem;

namespace {

struct SoundFontLocatorTest : ::testing::Test {
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() / ("tessimo-sf2-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    void touch(const char* name) { std::ofstream(dir / name) << "RIFF"; }
};

TEST_F(SoundFontLocatorTest, NothingInstalledGivesAnEmptyPath) {
    EXPECT_TRUE(findGeneralMidiSoundFont(dir).empty());
    EXPECT_TRUE(findGeneralMidiSoundFont(dir / "missing").empty());
}

TEST_F(SoundFontLocatorTest, RegisteredDefaultComesFirst) {
    touch("TimGM6mb.sf2");
    touch("FluidR3_GM.sf2");
    fs::create_symlink(dir / "TimGM6mb.sf2", dir / "default-GM.sf2");
    EXPECT_EQ(findGeneralMidiSoundFont(dir), dir / "default-GM.sf2");
}

TEST_F(SoundFontLocatorTest, DanglingDefaultAndNonFilesArePassedOver) {
    fs::create_symlink(dir / "gone.sf2", dir / "default-GM.sf2");
    fs::create_directory(dir / "FluidR3_GM.sf2");
    touch("TimGM6mb.sf3");
    EXPECT_EQ(findGeneralMidiSoundFont(dir), dir / "TimGM6mb.sf3");
    touch("TimGM6mb.sf2");
    EXPECT_EQ(findGeneralMidiSoundFont(dir), dir / "TimGM6mb.sf2");
    touch("FluidR3_GM.sf3");
    EXPECT_EQ(findGeneralMidiSoundFont(dir), dir / "FluidR3_GM.sf3");
}

} // namespace
