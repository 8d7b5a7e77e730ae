// Reading and writing the 516-byte settings file: 129 signed 32-bit little-endian integers,
// no header. The bytes are assembled one by one so the file is the same on any host.
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/SettingsRecord.h"

namespace tessimo {

namespace {

using FileBytes = std::array<unsigned char, SettingsFileSize>;

// Calls visit(field) for each of the 129 fields in file order.
template <typename Record, typename Visit> void forEachFileField(Record& r, Visit visit) {
    for (auto* single :
         {&r.speed, &r.beatsPerBar, &r.beatsPerBarChoice, &r.maxErrors, &r.maxUnknown, &r.clef,
          &r.namingConvention, &r.soundMode, &r.beatLength, &r.beatChoice, &r.instrument}) {
        visit(*single);
    }
    for (auto& v : r.durationChecks) {
        visit(v);
    }
    for (auto* single :
         {&r.errorLimitOn, &r.unknownLimitOn, &r.sustain, &r.intervalsTogether, &r.intervalsUp,
          &r.intervalsDown, &r.selectedNotesOnly, &r.dragWithMouse, &r.wheelChangesType}) {
        visit(*single);
    }
    for (auto& v : r.intervals) {
        visit(v);
    }
    for (auto& v : r.notes) {
        visit(v);
    }
    for (auto& v : r.durations) {
        visit(v);
    }
    for (auto& v : r.chords) {
        visit(v);
    }
}

std::int32_t decodeLittleEndian(const unsigned char* p) {
    const std::uint32_t u = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                            (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
    return static_cast<std::int32_t>(u); // two's complement, well defined since C++20
}

void encodeLittleEndian(std::int32_t value, unsigned char* p) {
    const auto u = static_cast<std::uint32_t>(value);
    p[0] = static_cast<unsigned char>(u & 0xFF);
    p[1] = static_cast<unsigned char>((u >> 8) & 0xFF);
    p[2] = static_cast<unsigned char>((u >> 16) & 0xFF);
    p[3] = static_cast<unsigned char>((u >> 24) & 0xFF);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Closes a descriptor and removes the temporary file unless released after a successful rename.
class TemporaryFile {
public:
    TemporaryFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    // Closes the descriptor, reporting whether the close succeeded.
    bool close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }
    void keep() { path_.clear(); }

private:
    int fd_;
    std::string path_;
};

// Creates a new file beside target with a name no other writer uses, with the permissions of
// the file it will replace. The name never ends in ".dat", so a user list built from the
// settings files never shows it. Returns -1 on failure.
int createTemporaryBeside(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0}; // makes names unique within this process
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = target + ".tmp." + std::to_string(::getpid()) + "." +
                   std::to_string(counter.fetch_add(1));
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            struct stat old {};
            if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
                ::fchmod(fd, old.st_mode & 07777);
            }
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

bool writeAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Flushes the directory entry of a rename to disk; a failure here does not undo the save.
void syncDirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

int SettingsRecord::load(const std::string& path) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return -1;
    }
    FileBytes bytes{};
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (got < bytes.size() && std::ferror(file.get())) {
        return -1; // e.g. a directory: nothing trustworthy was read
    }

    SettingsRecord loaded = *this;
    const std::size_t wholeFields = got / 4;
    std::size_t index = 0;
    forEachFileField(loaded, [&](std::int32_t& field) {
        if (index < wholeFields) {
            field = decodeLittleEndian(&bytes[index * 4]);
        }
        ++index;
    });
    loaded.makeValid();
    *this = loaded;
    return 0;
}

int SettingsRecord::save(const std::string& path) const {
    FileBytes bytes{};
    std::size_t index = 0;
    forEachFileField(*this, [&](const std::int32_t& field) {
        encodeLittleEndian(field, &bytes[index * 4]);
        ++index;
    });

    std::string tempPath;
    const int fd = createTemporaryBeside(path, tempPath);
    if (fd < 0) {
        return -1;
    }
    TemporaryFile temp(fd, tempPath);
    if (!writeAll(temp.fd(), bytes.data(), bytes.size()) || ::fsync(temp.fd()) != 0 ||
        !temp.close()) {
        return -1;
    }
    if (std::rename(temp.path().c_str(), path.c_str()) != 0) {
        return -1;
    }
    temp.keep();
    syncDirectoryOf(path);
    return 0;
}

} // namespace tessimo
