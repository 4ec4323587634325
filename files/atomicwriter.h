#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zibs {

// A file written piece by piece that appears whole or not at all: the pieces go to a temporary
// file beside it, and only commit() puts it in the file's place, after every write, the flush to
// the disk and the close have succeeded. Until then the old file stays as it was; a writer
// destroyed without commit() removes its temporary file. Failures throw FileError with a message
// naming the file and the system's reason:
//   "\"out/series.csv\" could not be written: No space left on device"
class AtomicWriter {
  public:
    struct FileError : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    explicit AtomicWriter(std::string path);
    ~AtomicWriter();
    AtomicWriter(const AtomicWriter&) = delete;
    AtomicWriter& operator=(const AtomicWriter&) = delete;

    void write(std::string_view text);
    void commit();

    // The temporary file, for removing it where no destructor runs (a signal handler).
    const std::string& temporaryPath() const { return temporary_; }

  private:
    [[noreturn]] void fail(int error);

    std::string path_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
};

}  // namespace zibs
