#include "model/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fileio {
namespace {

// Permissions a newly created file would get: 0666 minus the process umask.
mode_t newFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return false;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    if (target.empty() || !target.has_filename())
        return false;
    std::filesystem::path folder = target.parent_path();
    // A short name of its own, so that a target name near the length limit still works.
    std::string pattern = (folder / ".tavrolab-save-XXXXXX").string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;

    struct stat existing {};
    mode_t mode =
        ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();
    bool ok = ::fchmod(fd, mode) == 0;
    ok = ok && writeAll(fd, bytes);
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(pattern.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(pattern.c_str());
        return false;
    }
    // Make the rename itself durable; a failure here does not undo the completed replacement.
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (in.eof())
            break;
    }
    if (in.bad())
        return std::nullopt;
    return bytes;
}

} // namespace fileio
