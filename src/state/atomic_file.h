#pragma once

#include <string>
#include <string_view>

namespace qm {

// Replaces the file at `path` with `bytes` so that the old file stays whole until the new one is
// safely on disk: the bytes go to a temporary file beside it, which is flushed, synced and then
// renamed over the old one. Throws FileFailure on any failure, after removing the temporary file.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// The same for the build's tools, which report a failure in their own words: false instead of a
// throw. A file they make is never left half written for the next build step to read.
bool TryWriteFileAtomically(const std::string& path, std::string_view bytes);

// Makes the folders leading to `path` that do not exist yet, readable by their owner only (the
// player's data folder is made this way on the first save). An empty path, which is where a
// player without a home folder would save, is refused. Throws FileFailure.
void MakeFoldersFor(const std::string& path);

// The temporary file a save writes first; exposed so tests can see that none is left behind.
std::string TemporaryPathFor(const std::string& path);

}  // namespace qm
