#include "files/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zibs {

namespace {

std::string failure(const std::string& path, const std::string& step, int error) {
    return "\"" + path + "\" could not be written: " + step + std::strerror(error);
}

// A new file next to the target, named after it, that no one else has opened.
int createTemporary(const std::string& path, std::string& name, int& error) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path target(path);
    const std::filesystem::path dir = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string leaf = "." + target.filename().string() + ".tmp-" +
                                 std::to_string(::getpid()) + "-" + std::to_string(counter++);
        name = (dir / leaf).string();
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            error = errno;
            return fd;
        }
    }
    error = EEXIST;
    return -1;
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

std::optional<std::string> writeAtomically(const std::string& path, std::string_view content) {
    if (path.empty()) return failure(path, "", ENOENT);
    std::string temporary;
    int error = 0;
    const int fd = createTemporary(path, temporary, error);
    if (fd < 0) return failure(path, "no temporary file could be made beside it: ", error);

    // A file that is replaced keeps its permissions.
    struct stat old {};
    bool ok = ::stat(path.c_str(), &old) != 0 || !S_ISREG(old.st_mode) ||
              ::fchmod(fd, old.st_mode & 07777) == 0;
    ok = ok && writeAll(fd, content) && ::fsync(fd) == 0;
    error = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return failure(path, "", error);
    }

    // The rename itself reaches the disk with the directory; where that cannot be asked for,
    // the file is still complete.
    const std::string dir = std::filesystem::path(path).parent_path().string();
    const int dirfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirfd >= 0) {
        ::fsync(dirfd);
        ::close(dirfd);
    }
    return std::nullopt;
}

}  // namespace zibs
