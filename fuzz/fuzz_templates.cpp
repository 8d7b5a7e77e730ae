// Any bytes through the template-file loader: no crash, no leak, and a file it accepts must
// survive a save and load unchanged.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "recognition/CRecognizer.h"
#include "recognition/TemplateFile.h"

namespace {

std::string scratchPath(const char* what) {
    return "/tmp/fuzz_templates_" + std::to_string(::getpid()) + "_" + what + ".dat";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessimo;
    const std::vector<std::uint8_t> bytes(data, data + size);
    const auto parsed = ParseTemplateFile(bytes);

    const std::string in = scratchPath("in");
    if (FILE* f = std::fopen(in.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    CRecognizer r;
    std::array<std::uint8_t, TemplateSlotCount> present{};
    const int status = r.LoadTemplates(in, present);
    if ((status == 0) != parsed.has_value()) {
        __builtin_trap();
    }
    if (status == 0) {
        // What was accepted is written back, and reads back the same.
        const std::string out = scratchPath("out");
        if (r.SaveTemplates(out) != 0) {
            __builtin_trap();
        }
        CRecognizer again;
        std::array<std::uint8_t, TemplateSlotCount> presentAgain{};
        if (again.LoadTemplates(out, presentAgain) != 0 || presentAgain != present) {
            __builtin_trap();
        }
        // Saved once more, the file is the same bytes: nothing was lost or changed on the way.
        const std::string outAgain = scratchPath("again");
        if (again.SaveTemplates(outAgain) != 0) {
            __builtin_trap();
        }
        const auto first = ReadWholeFile(out, MaxTemplateFileBytes());
        const auto second = ReadWholeFile(outAgain, MaxTemplateFileBytes());
        if (!first || !second || *first != *second) {
            __builtin_trap();
        }
        std::remove(out.c_str());
        std::remove(outAgain.c_str());
    } else {
        for (const auto p : present) {
            if (p != 0) {
                __builtin_trap();
            }
        }
    }
    std::remove(in.c_str());
    return 0;
}
