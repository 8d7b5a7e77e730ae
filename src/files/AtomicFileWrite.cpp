#include "files/AtomicFileWrite.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/FileDescriptor.h"

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

constexpr std::string_view TemporaryPrefix = ".tessimo-";
constexpr std::string_view TemporarySuffix = ".tmp";

bool allDigits(std::string_view s) {
    return !s.empty() && s.size() <= 18 &&
           s.find_first_not_of("0123456789") == std::string_view::npos;
}

// The process id in a name of the form ".tessimo-<pid>-<n>.tmp", or 0 for any other name.
long temporaryOwner(std::string_view name) {
    if (!name.starts_with(TemporaryPrefix) || !name.ends_with(TemporarySuffix)) {
        return 0;
    }
    name.remove_prefix(TemporaryPrefix.size());
    name.remove_suffix(TemporarySuffix.size());
    const auto dash = name.find('-');
    if (dash == std::string_view::npos || !allDigits(name.substr(0, dash)) ||
        !allDigits(name.substr(dash + 1))) {
        return 0;
    }
    return std::stol(std::string(name.substr(0, dash)));
}

// False only when no process has this id (a zombie, or a process of another user, counts as
// running).
bool processRuns(long pid) {
    if (pid <= 0 || pid > 0x7FFFFFFF) {
        return false;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

FileWriteResult failed(FileWriteFailure failure, int error) {
    FileWriteResult result;
    result.failure = failure;
    result.error = error;
    return result;
}

// Sorts the errno of a failed open, write, flush or rename into what the user can act on.
FileWriteResult failedWith(int error) {
    switch (error) {
    case EROFS:
        return failed(FileWriteFailure::ReadOnly, error);
    case EACCES:
    case EPERM:
        return failed(FileWriteFailure::NotPermitted, error);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return failed(FileWriteFailure::Full, error);
    case ENOENT:
    case ENOTDIR:
        return failed(FileWriteFailure::NoFolder, error);
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
        return failed(FileWriteFailure::NameRefused, error);
    case EISDIR: {
        FileWriteResult result = failed(FileWriteFailure::NotRegularFile, error);
        result.kind = FileKind::Folder;
        return result;
    }
    default:
        return failed(FileWriteFailure::Other, error);
    }
}

struct DirectoryCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

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
            if (::lstat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
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
            if (n == 0) {
                errno = ENOSPC; // nothing written and no error: no room
            }
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

FileWriteResult writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    int lookError = 0;
    const FileKind existing = fileKindAt(path, &lookError);
    if (existing != FileKind::Missing && existing != FileKind::Regular &&
        !(existing == FileKind::Other && lookError != 0)) {
        FileWriteResult result = failed(FileWriteFailure::NotRegularFile, 0);
        result.kind = existing;
        return result;
    }
    const std::string directory = directoryPrefixOf(path);
    removeStaleTemporaries(directory);

    std::string temporary;
    FileDescriptor file(createTemporaryBeside(path, temporary));
    if (!file.valid()) {
        return failedWith(errno);
    }
    TemporaryName name(std::move(temporary));
    int error = 0;
    if (!writeAll(file.fd(), bytes) || ::fsync(file.fd()) != 0) {
        error = errno;
    }
    if (!file.close() && error == 0) {
        error = errno;
    }
    if (error == 0 && std::rename(name.path().c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        return failedWith(error); // the temporary file is removed on the way out
    }
    name.keep();
    syncDirectoryOf(path);
    return {};
}

std::string describeWriteFailure(const FileWriteResult& result) {
    switch (result.failure) {
    case FileWriteFailure::None:
        return "";
    case FileWriteFailure::NotRegularFile:
        return "the name " + describeFileKind(result.kind) + ", which is left as it is";
    case FileWriteFailure::ReadOnly:
        return "the disk is read-only";
    case FileWriteFailure::NotPermitted:
        return "writing in this folder is not permitted";
    case FileWriteFailure::Full:
        return result.error == EFBIG ? "the file would exceed the size allowed here"
                                     : "the disk is full";
    case FileWriteFailure::NoFolder:
        return "the folder does not exist";
    case FileWriteFailure::NameRefused:
        return "the file system does not accept this name";
    case FileWriteFailure::Other:
        return describeErrno(result.error);
    }
    return describeErrno(result.error);
}

int removeStaleTemporaries(const std::string& directory) {
    const std::unique_ptr<DIR, DirectoryCloser> folder(
        ::opendir(directory.empty() ? "." : directory.c_str()));
    if (!folder) {
        return 0;
    }
    const long self = static_cast<long>(::getpid());
    const std::time_t now = std::time(nullptr);
    int removed = 0;
    while (const dirent* entry = ::readdir(folder.get())) {
        const long owner = temporaryOwner(entry->d_name);
        if (owner == 0 || owner == self || processRuns(owner)) {
            continue;
        }
        struct stat info {};
        if (::fstatat(::dirfd(folder.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || now - info.st_mtime <= StaleTemporaryAge.count()) {
            continue;
        }
        if (::unlinkat(::dirfd(folder.get()), entry->d_name, 0) == 0) {
            ++removed;
        }
    }
    return removed;
}

} // namespace tessimo
