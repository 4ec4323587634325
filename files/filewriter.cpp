#include "files/filewriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "runtime/convert.h"

namespace zibs {

namespace {

// The temporary files of the writers alive, where a signal handler can read them: a slot is
// free (0), being filled (1) or holds a name (2).
constexpr int slotCount = 8;
std::array<std::atomic<int>, slotCount> slotState{};
char slotName[slotCount][PATH_MAX];

int claimSlot(const std::string& name) {
    if (name.size() >= PATH_MAX) return -1;
    for (int s = 0; s < slotCount; ++s) {
        int free = 0;
        if (!slotState[s].compare_exchange_strong(free, 1)) continue;
        std::memcpy(slotName[s], name.c_str(), name.size() + 1);
        slotState[s] = 2;
        return s;
    }
    return -1;  // more writers than slots: the rare extra one is not removed on a signal
}

void releaseSlot(int& slot) {
    if (slot >= 0) slotState[slot] = 0;
    slot = -1;
}

extern "C" void removeTemporaries(int signal) {
    for (int s = 0; s < slotCount; ++s) {
        if (slotState[s] == 2) ::unlink(slotName[s]);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);  // ends the program as the signal would have
}

// A name for a file this process already has open (/dev/stdout, /dev/fd/3, /proc/self/fd/1): it
// is written where it is, whatever it is, after what it holds (a shell's "> out.csv" behind
// /dev/stdout keeps the rows written before).
bool namesAnOpenFile(const std::string& path) {
    return path == "/dev/stdout" || path == "/dev/stderr" || path.starts_with("/dev/fd/") ||
           (path.starts_with("/proc/") && path.find("/fd/") != std::string::npos);
}

// The file a name leads to through symbolic links, where none exists yet.
std::string linkTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        char link[PATH_MAX];
        const ssize_t n = ::readlink(path.c_str(), link, sizeof link - 1);
        if (n <= 0) break;
        const std::filesystem::path next(std::string(link, static_cast<std::size_t>(n)));
        path = next.is_absolute() ? next.string()
                                  : (std::filesystem::path(path).parent_path() / next).string();
    }
    return path;
}

}  // namespace

FileWriter::FileWriter(const std::string& path) : path_(path), target_(path) {
    if (path.empty()) fail(ENOENT);
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) fail(errno);
    if (exists && S_ISDIR(info.st_mode)) fail(EISDIR);
    if (exists && (!S_ISREG(info.st_mode) || namesAnOpenFile(path))) {
        fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC);
        if (fd_ < 0) fail(errno);
        return;
    }
    if (exists) {
        // What the shell would refuse to overwrite is refused too.
        if (::access(path.c_str(), W_OK) != 0) fail(errno);
        char real[PATH_MAX];
        if (::realpath(path.c_str(), real)) target_ = real;
    } else {
        target_ = linkTarget(path);
    }

    // A short name, so that a target name of up to NAME_MAX bytes still has a temporary beside it.
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path dir = std::filesystem::path(target_).parent_path();
    for (int attempt = 0; fd_ < 0; ++attempt) {
        const std::string leaf =
            ".zibs-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
        temporary_ = (dir / leaf).string();
        fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && (errno != EEXIST || attempt == 99)) {
            const int error = errno;
            temporary_.clear();
            fail(error);
        }
    }
    slot_ = claimSlot(temporary_);
    // A file that is replaced keeps its permissions.
    if (exists && ::fchmod(fd_, info.st_mode & 07777) != 0) fail(errno);
}

FileWriter::~FileWriter() {
    discard();
}

void FileWriter::write(std::string_view text) {
    if (fd_ < 0) throw FileError("\"" + escapedText(path_) + "\" is already closed.");
    buffer_.append(text);
    if (buffer_.size() >= (1u << 16)) flushBuffer();
}

void FileWriter::flushBuffer() {
    std::string_view rest = buffer_;
    while (!rest.empty()) {
        const ssize_t n = ::write(fd_, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) fail(n == 0 ? EIO : errno);
        rest.remove_prefix(static_cast<std::size_t>(n));
    }
    buffer_.clear();
}

void FileWriter::commit() {
    if (fd_ < 0) throw FileError("\"" + escapedText(path_) + "\" is already closed.");
    flushBuffer();
    if (!temporary_.empty() && ::fsync(fd_) != 0) fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) fail(errno);
    if (temporary_.empty()) return;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail(errno);
    temporary_.clear();
    releaseSlot(slot_);
    // The rename reaches the disk with the folder; where that cannot be asked for, the file is
    // still complete.
    const std::string dir = std::filesystem::path(target_).parent_path().string();
    const int dirfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirfd >= 0) {
        ::fsync(dirfd);
        ::close(dirfd);
    }
}

void FileWriter::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
    releaseSlot(slot_);
}

void FileWriter::fail(int error) {
    discard();
    throw FileError("\"" + escapedText(path_) + "\" could not be written: " + std::strerror(error));
}

std::optional<std::string> writeWholeFile(const std::string& path, std::string_view content) {
    try {
        FileWriter file(path);
        file.write(content);
        file.commit();
        return std::nullopt;
    } catch (const FileWriter::FileError& e) {
        return e.what();
    }
}

void guardTemporaryFiles() {
    std::signal(SIGXFSZ, SIG_IGN);
    for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction old {};
        // A signal the caller ignores (nohup) stays ignored.
        if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = removeTemporaries;
        ::sigaction(s, &action, nullptr);
    }
}

}  // namespace zibs
