// Loading and saving one high-score record file ("hscore.txt", "name.txt", "comment.txt"): a rich-text
// document read with a size bound and replaced atomically, so a crash mid-write never tears the record.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace squeakrun {

// The plain text of a record file as the game reads it; empty text when the file is missing or
// unreadable. Only the first MiB of a larger file is read.
std::string loadRecordFile(const std::filesystem::path& path);

// Replaces the file atomically with a document holding `text`: temporary file in the same folder, flushed
// to disk (fsync), renamed over the old one, folder synced. Returns false (old file untouched, temporary
// removed) when anything fails: read-only folder, full disk, folder missing.
bool saveRecordFile(const std::filesystem::path& path, std::string_view text);

// Writes exactly `bytes` as the file at `path` in the same way, so that a reader never meets half a file;
// with `replace` false, never over a file already there (false when there is one).
bool saveFileWhole(const std::filesystem::path& path, std::string_view bytes, bool replace = true);

} // namespace squeakrun
