// Owner of a POSIX file descriptor. No Qt.
#pragma once

#include <utility>

#include <unistd.h>

namespace tessimo {

// Closes the descriptor when it goes out of scope unless it was closed before. The thread
// that owns the object may call any method.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    ~FileDescriptor() { close(); }

    bool valid() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Closes now; true when the close succeeded or there was nothing to close.
    bool close() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

} // namespace tessimo
