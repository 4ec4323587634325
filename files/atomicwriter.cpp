#include "files/atomicwriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zibs {

AtomicWriter::AtomicWriter(std::string path) : path_(std::move(path)) {
    const std::filesystem::path target(path_);
    // A directory in the way is found now, not when the file is complete.
    std::error_code ignored;
    if (!target.has_filename() || std::filesystem::is_directory(target, ignored)) fail(EISDIR);
    // A name no one else uses: hidden, beside the file, with this process's number.
    for (int attempt = 0; !file_; ++attempt) {
        temporary_ =
            (target.parent_path() / ("." + target.filename().string() + ".tmp-" +
                                     std::to_string(::getpid()) + "-" + std::to_string(attempt)))
                .string();
        const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 99)) {
            const int error = errno;
            temporary_.clear();
            fail(error);
        }
        if (fd >= 0) file_ = ::fdopen(fd, "w");
        if (fd >= 0 && !file_) {
            const int error = errno;
            ::close(fd);
            fail(error);
        }
    }
    // A file that is replaced keeps its permissions.
    struct stat old {};
    if (::stat(path_.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
        ::fchmod(::fileno(file_), old.st_mode & 07777) != 0) {
        fail(errno);
    }
}

AtomicWriter::~AtomicWriter() {
    if (file_) std::fclose(file_);
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void AtomicWriter::write(std::string_view text) {
    if (!file_) throw FileError("\"" + path_ + "\" is already closed.");
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) fail(errno);
}

void AtomicWriter::commit() {
    if (!file_) throw FileError("\"" + path_ + "\" is already closed.");
    if (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0) fail(errno);
    std::FILE* f = file_;
    file_ = nullptr;
    if (std::fclose(f) != 0 || ::rename(temporary_.c_str(), path_.c_str()) != 0) fail(errno);
    temporary_.clear();
}

void AtomicWriter::fail(int error) {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    throw FileError("\"" + path_ + "\" could not be written: " + std::strerror(error));
}

}  // namespace zibs
