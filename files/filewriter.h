#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zibs {

// Every file the programs write goes through here, whole or not at all.
//
// A regular file (reached through symbolic links if the name is one) is replaced atomically:
// the text goes to a temporary file in the same folder, named ".zibs-PID-N.tmp", every write,
// the flush to the disk and the close are checked, and only then is it renamed over the target,
// which keeps its permissions. Until commit() the old file stays as it was; a writer destroyed
// without commit() removes its temporary file.
//
// A character device, a FIFO or a terminal (/dev/null, /dev/stdout) is written in place as the
// text comes, every write checked. A directory, and a file the user may not write, are refused.
//
// Failures throw FileError with a message naming the file and the system's reason:
//   "\"out/series.csv\" could not be written: No space left on device"
class FileWriter {
  public:
    struct FileError : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    explicit FileWriter(const std::string& path);
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void write(std::string_view text);
    void commit();

  private:
    void flushBuffer();
    [[noreturn]] void fail(int error);
    void discard();

    std::string path_;       // as given, for messages
    std::string target_;     // the file the temporary file replaces
    std::string temporary_;  // empty when writing in place
    int slot_ = -1;          // where a signal handler finds the temporary file
    int fd_ = -1;
    std::string buffer_;
};

// Writes `content` to `path` with a FileWriter. Returns the message on failure, nothing on
// success.
std::optional<std::string> writeWholeFile(const std::string& path, std::string_view content);

// Makes a size limit (ulimit -f) a write error instead of the end of the program, and removes
// the temporary files of the writers alive when SIGINT, SIGTERM, SIGHUP or SIGPIPE ends it.
// Called once at the start of a program.
void guardTemporaryFiles();

}  // namespace zibs
