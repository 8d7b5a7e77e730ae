// Directory entries that carry a user file's name but are not regular files: a named pipe, a
// socket, a character device, a link and a folder. Each maker returns false when the entry
// cannot be made here (a device needs the right to create one).
#pragma once

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace tessimo::testing {

inline bool makeFifo(const std::string& path) {
    return ::mkfifo(path.c_str(), 0666) == 0;
}

// A bound Unix socket leaves its entry behind when closed.
inline bool makeSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) {
        return false;
    }
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

// The character device of /dev/null (1, 3); needs the right to create devices (root, mostly).
inline bool makeDevice(const std::string& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

inline bool makeLink(const std::string& path, const std::string& target) {
    std::error_code ec;
    std::filesystem::create_symlink(target, path, ec);
    return !ec;
}

inline bool makeFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::create_directory(path, ec);
}

enum class Hostile { Fifo, Socket, Device, Link, Folder };

inline const char* hostileName(Hostile kind) {
    switch (kind) {
    case Hostile::Fifo:
        return "named pipe";
    case Hostile::Socket:
        return "socket";
    case Hostile::Device:
        return "device";
    case Hostile::Link:
        return "link";
    case Hostile::Folder:
        return "folder";
    }
    return "";
}

inline const std::vector<Hostile>& allHostileKinds() {
    static const std::vector<Hostile> kinds = {Hostile::Fifo, Hostile::Socket, Hostile::Device,
                                               Hostile::Link, Hostile::Folder};
    return kinds;
}

// Makes an entry of the given kind at path; a link points at linkTarget. False when this kind
// cannot be made here.
inline bool makeHostile(Hostile kind, const std::string& path, const std::string& linkTarget) {
    switch (kind) {
    case Hostile::Fifo:
        return makeFifo(path);
    case Hostile::Socket:
        return makeSocket(path);
    case Hostile::Device:
        return makeDevice(path);
    case Hostile::Link:
        return makeLink(path, linkTarget);
    case Hostile::Folder:
        return makeFolder(path);
    }
    return false;
}

// What the entry at path is now, as "fifo", "socket", "device", "link", "folder", "file" or
// "none": to check that a refused file was left exactly as it was.
inline std::string entryType(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return "none";
    }
    if (S_ISFIFO(st.st_mode)) {
        return "fifo";
    }
    if (S_ISSOCK(st.st_mode)) {
        return "socket";
    }
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) {
        return "device";
    }
    if (S_ISLNK(st.st_mode)) {
        return "link";
    }
    if (S_ISDIR(st.st_mode)) {
        return "folder";
    }
    return "file";
}

inline std::string expectedEntryType(Hostile kind) {
    switch (kind) {
    case Hostile::Fifo:
        return "fifo";
    case Hostile::Socket:
        return "socket";
    case Hostile::Device:
        return "device";
    case Hostile::Link:
        return "link";
    case Hostile::Folder:
        return "folder";
    }
    return "";
}

} // namespace tessimo::testing
