#include "platform/xml/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/automation/errors.h"

namespace ax::xml {

namespace fs = std::filesystem;

ReadStatus readFile(const std::string& path, std::string& bytes) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return ReadStatus::NotFound;
    if (fs::is_directory(status)) return ReadStatus::Unreadable;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return ReadStatus::Unreadable;
    struct stat st {};
    bytes.clear();
    if (::fstat(fd, &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
    char chunk[1 << 16];
    while (true) {
        // Read straight into the string when its size is known; a growing file still reads to its end.
        const size_t room = bytes.capacity() - bytes.size();
        if (room >= sizeof chunk) {
            const size_t at = bytes.size();
            bytes.resize(bytes.capacity());
            const ssize_t n = ::read(fd, bytes.data() + at, room);
            bytes.resize(at + static_cast<size_t>(std::max<ssize_t>(n, 0)));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ::close(fd);
                return ReadStatus::Unreadable;
            }
            if (n == 0) break;
            continue;
        }
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return ReadStatus::Unreadable;
        }
        if (n == 0) break;
        bytes.append(chunk, static_cast<size_t>(n));
    }
    ::close(fd);
    return ReadStatus::Ok;
}

namespace {

[[noreturn]] void accessError(const std::string& path, int error) {
    raise(err::PathFileAccessError,
          errorText(err::PathFileAccessError) + " (" + path + ": " + std::strerror(error) + ")");
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

void writeFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty()) accessError(path, ENOENT);
    // Replace what a symbolic link points at, not the link itself.
    std::string target = path;
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        const auto resolved = fs::canonical(path, ec);
        if (!ec) target = resolved.string();
    }
    if (fs::is_directory(fs::status(target, ec))) accessError(path, EISDIR);

    static std::atomic<unsigned> counter{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) accessError(path, errno);
    }
    if (fd < 0) accessError(path, EEXIST);
    // A file that already exists keeps its permissions.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) (void)::fchmod(fd, old.st_mode & 07777);

    int error = 0;
    if (!writeAll(fd, bytes)) error = errno;
    if (!error && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && !error) error = errno;
    if (!error && ::rename(temp.c_str(), target.c_str()) != 0) error = errno;
    if (error) {
        ::unlink(temp.c_str());
        accessError(path, error);
    }
}

}  // namespace ax::xml
