#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zibs {

// Writes `content` to `path` so that the file is either complete or not changed at all: a
// temporary file in the same directory is written, every write checked, flushed to the disk and
// closed, then renamed over `path`. An existing file keeps its permissions; a new one gets
// those of any new file (0666 less the umask). On failure the temporary is removed, the old
// file stays as it was, and the message names the file and the system's reason:
//   "\"out/a.zibs\" could not be written: No space left on device"
std::optional<std::string> writeAtomically(const std::string& path, std::string_view content);

}  // namespace zibs
