#pragma once

#include <string>
#include <string_view>

namespace qm {

// Replaces the file at `path` with `bytes` so that the old file stays whole until the new one is
// safely on disk: the bytes go to a temporary file beside it, which is flushed, synced and then
// renamed over the old one. Throws FileFailure on any failure, after removing the temporary file.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// The temporary file a save writes first; exposed so tests can see that none is left behind.
std::string TemporaryPathFor(const std::string& path);

}  // namespace qm
