#include "model/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <string>
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

// The file a path finally names: symbolic links followed (relative ones from their own folder).
// False with ELOOP when the chain does not end.
bool followLinks(std::filesystem::path& p) {
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(p, ec)))
            return true;
        std::filesystem::path next = std::filesystem::read_symlink(p, ec);
        if (ec)
            return true; // not readable as a link: let the write report what it finds
        p = next.is_absolute() ? next : p.parent_path() / next;
    }
    errno = ELOOP;
    return false;
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

bool writeFileAtomically(const std::filesystem::path& requested, std::string_view bytes,
                         std::string* reason) {
    auto fail = [&](int error) {
        if (reason != nullptr)
            *reason = systemErrorText(error);
        return false;
    };
    std::filesystem::path target = requested;
    if (target.empty() || !target.has_filename())
        return fail(EISDIR);
    if (!followLinks(target))
        return fail(errno);
    std::filesystem::path folder = target.parent_path();
    // A short name of its own, so that a target name near the length limit still works.
    std::string pattern = (folder / ".tavrolab-save-XXXXXX").string();
    int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return fail(errno);

    struct stat existing {};
    mode_t mode =
        ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();
    int error = 0;
    auto step = [&](bool done) {
        if (!done && error == 0)
            error = errno != 0 ? errno : EIO;
        return done;
    };
    errno = 0;
    bool ok = step(::fchmod(fd, mode) == 0);
    ok = ok && step(writeAll(fd, bytes));
    ok = ok && step(::fsync(fd) == 0);
    ok = step(::close(fd) == 0) && ok;
    ok = ok && step(::rename(pattern.c_str(), target.c_str()) == 0);
    if (!ok) {
        ::unlink(pattern.c_str());
        return fail(error);
    }
    // Make the rename itself durable; a failure here does not undo the completed replacement.
    int dirFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

std::string systemErrorText(int errorNumber) {
    switch (errorNumber) {
    case EACCES:
        return "Нет доступа";
    case EPERM:
        return "Операция не позволена";
    case ENOENT:
        return "Нет такого файла или каталога";
    case ENOTDIR:
        return "Это не каталог";
    case EISDIR:
        return "Это каталог";
    case ENOSPC:
        return "Нет места на устройстве";
    case EDQUOT:
        return "Превышена дисковая квота";
    case EROFS:
        return "Файловая система доступна только для чтения";
    case EFBIG:
        return "Файл слишком велик";
    case ENAMETOOLONG:
        return "Слишком длинное имя файла";
    case ELOOP:
        return "Слишком много уровней символьных ссылок";
    case EIO:
        return "Ошибка ввода-вывода";
    case EMFILE:
    case ENFILE:
        return "Слишком много открытых файлов";
    case EBUSY:
        return "Устройство или ресурс занято";
    default:
        return "Системная ошибка " + std::to_string(errorNumber);
    }
}

std::string saveErrorMessage(const std::string& path, const std::string& reason) {
    std::string message = "Ошибка сохранения файла " + path;
    if (!reason.empty())
        message += ": " + reason;
    return message;
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
