// Feeds arbitrary bytes to the settings loader. After every load the record must be valid
// (every table index in range, derived fields in agreement), and saving and loading it again
// must give the same record.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "model/SettingsRecord.h"

namespace {

std::string scratchDirectory() {
    const char* shm = "/dev/shm";
    return ::access(shm, W_OK) == 0 ? shm : "/tmp";
}

const std::string& inputPath() {
    static const std::string path =
        scratchDirectory() + "/fuzz_settings_in." + std::to_string(::getpid());
    return path;
}

const std::string& resavePath() {
    static const std::string path =
        scratchDirectory() + "/fuzz_settings_out." + std::to_string(::getpid());
    return path;
}

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "settings invariant broken: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(inputPath().c_str(), "wb");
    if (f == nullptr) {
        return 0;
    }
    const bool written = std::fwrite(data, 1, size, f) == size;
    std::fclose(f);
    if (!written) {
        return 0;
    }

    tessimo::SettingsRecord record;
    check(record.load(inputPath()) == 0, "a readable file loads");
    check(record.isValid(), "loaded record is valid");
    check(record.durationCount >= 0 && record.durationCount <= 14, "durationCount in 0..14");

    if (record.save(resavePath()) == 0) {
        tessimo::SettingsRecord again;
        again.speed = 5; // differs from the loaded record unless the file sets it
        check(again.load(resavePath()) == 0, "a saved file loads");
        check(again == record, "save then load gives the same record");
    }
    std::remove(inputPath().c_str());
    std::remove(resavePath().c_str());
    return 0;
}
