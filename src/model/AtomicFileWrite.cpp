#include "model/AtomicFileWrite.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "model/FileDescriptor.h"

namespace tessimo {

namespace {

// Removes a temporary file on the way out unless it was kept (renamed into place).
class TemporaryName {
public:
    explicit TemporaryName(std::string path) : path_(std::move(path)) {}
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    ~TemporaryName() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    const std::string& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    std::string path_;
};

// The directory part of path including its final slash, or "" for a bare name.
std::string directoryPrefixOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Creates a new file beside target under a name that did not exist before (never following a
// link that is already there), with the permissions of the file it will replace. The name is
// short whatever the target's length, so a target name as long as the file system allows can
// still be saved, and it never ends in ".dat", so a list of the user's files never shows it.
// Returns the descriptor and sets temporary to its name, or returns -1.
int createTemporaryBeside(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned> counter{0}; // names unique within this process
    const std::string directory = directoryPrefixOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = directory + ".tessimo-" + std::to_string(::getpid()) + "-" +
                    std::to_string(counter.fetch_add(1)) + ".tmp";
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
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

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Flushes the directory entry of a rename to disk; a failure here leaves a complete file
// either way, so it does not undo the save.
void syncDirectoryOf(const std::string& path) {
    std::string directory = directoryPrefixOf(path);
    if (directory.empty()) {
        directory = ".";
    }
    const FileDescriptor folder(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) {
        ::fsync(folder.fd());
    }
}

} // namespace

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    std::string temporary;
    FileDescriptor file(createTemporaryBeside(path, temporary));
    if (!file.valid()) {
        return false;
    }
    TemporaryName name(std::move(temporary));
    bool ok = writeAll(file.fd(), bytes) && ::fsync(file.fd()) == 0;
    ok = file.close() && ok;
    if (!ok || std::rename(name.path().c_str(), path.c_str()) != 0) {
        return false; // the temporary file is removed on the way out
    }
    name.keep();
    syncDirectoryOf(path);
    return true;
}

} // namespace tessimo
