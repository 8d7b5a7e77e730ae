// Runs a test in a fresh directory of its own, removed afterwards, so that the files the
// program writes to its working directory never touch another test's.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

namespace tessimo::testing {

class ScratchDirectory {
public:
    explicit ScratchDirectory(const std::string& name)
        : dir_(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))),
          old_(std::filesystem::current_path()) {
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
    }
    ~ScratchDirectory() {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

private:
    std::filesystem::path dir_;
    std::filesystem::path old_;
};

} // namespace tessimo::testing
