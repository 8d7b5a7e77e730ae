#include "files/SafeFileOpen.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessimo {

namespace {

FileKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::Regular;
    }
    if (S_ISLNK(mode)) {
        return FileKind::Link;
    }
    if (S_ISDIR(mode)) {
        return FileKind::Folder;
    }
    if (S_ISFIFO(mode)) {
        return FileKind::Pipe;
    }
    if (S_ISSOCK(mode)) {
        return FileKind::Socket;
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return FileKind::Device;
    }
    return FileKind::Other;
}

} // namespace

namespace {

FileKind kindAt(const std::string& path, int* error, Links links) {
    struct stat entry {};
    const int looked =
        links == Links::Follow ? ::stat(path.c_str(), &entry) : ::lstat(path.c_str(), &entry);
    if (looked != 0) {
        const int e = errno;
        if (error != nullptr) {
            *error = e;
        }
        return e == ENOENT ? FileKind::Missing : FileKind::Other;
    }
    if (error != nullptr) {
        *error = 0;
    }
    return kindOfMode(entry.st_mode);
}

} // namespace

FileKind fileKindAt(const std::string& path, int* error) {
    return kindAt(path, error, Links::Refuse);
}

std::string describeFileKind(FileKind kind) {
    switch (kind) {
    case FileKind::Missing:
        return "does not exist";
    case FileKind::Regular:
        return "";
    case FileKind::Link:
        return "is a link, and links are not followed";
    case FileKind::Folder:
        return "is a folder";
    case FileKind::Pipe:
        return "is a named pipe (FIFO), not a regular file";
    case FileKind::Socket:
        return "is a socket, not a regular file";
    case FileKind::Device:
        return "is a device, not a regular file";
    case FileKind::Other:
        return "is not a regular file";
    }
    return "is not a regular file";
}

ReadOpenResult openRegularFileForReading(const std::string& path, Links links) {
    ReadOpenResult result;
    int error = 0;
    result.kind = kindAt(path, &error, links);
    if (result.kind != FileKind::Regular) {
        if (result.kind == FileKind::Other && error != 0) {
            result.kind = FileKind::Regular; // could not be examined: report why as a read error
            result.error = error;
        }
        return result;
    }
    // Non-blocking, so that a pipe swapped in after the look above does not wait for a
    // writer; never through a link; never becoming the controlling terminal.
    const int noFollow = links == Links::Follow ? 0 : O_NOFOLLOW;
    FileDescriptor file(
        ::open(path.c_str(), O_RDONLY | O_NONBLOCK | noFollow | O_CLOEXEC | O_NOCTTY));
    if (!file.valid()) {
        result.error = errno;
        if (result.error == ELOOP && links == Links::Refuse) {
            result.kind = FileKind::Link;
        } else if (result.error == ENOENT) {
            result.kind = FileKind::Missing;
        }
        return result;
    }
    struct stat opened {};
    if (::fstat(file.fd(), &opened) != 0) {
        result.error = errno;
        return result;
    }
    result.kind = kindOfMode(opened.st_mode);
    if (result.kind != FileKind::Regular) {
        return result;
    }
    const int flags = ::fcntl(file.fd(), F_GETFL);
    if (flags != -1) {
        ::fcntl(file.fd(), F_SETFL, flags & ~O_NONBLOCK);
    }
    result.size = static_cast<std::uint64_t>(opened.st_size);
    result.file = std::move(file);
    return result;
}

std::string describeReadFailure(FileKind kind, int error) {
    if (kind != FileKind::Regular) {
        return describeFileKind(kind);
    }
    return "cannot be read (" + describeErrno(error) + ")";
}

long readUpTo(int fd, std::uint8_t* buffer, std::size_t count) {
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(fd, buffer + got, count - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return -1;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return static_cast<long>(got);
}

std::string describeErrno(int error) {
    std::string text = std::system_category().message(error);
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' &&
        (text.size() < 2 || !(text[1] >= 'A' && text[1] <= 'Z'))) {
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    }
    return text;
}

} // namespace tessimo
