// Scenario files on disk and the pieces of their lines: reading one in bounded memory, saving one whole,
// the stored records a file starts from, and the escapes, counts and buttons its lines are written in.
#pragma once

#include "session/inputs.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace squeakrun {

// A ten-minute session takes a few tens of KiB; anything past this is no session.
constexpr std::uintmax_t kMaxSessionBytes = 16u << 20;

// The text of a scenario file, read up to kMaxSessionBytes (a larger file, or one that keeps giving
// bytes, is refused by its size before it is read); nullopt with `why` when it cannot be read.
std::optional<std::string> readScenarioText(const std::filesystem::path& file, std::string& why);

// Writes a scenario file whole, replacing any file there at once, so a crash mid-save leaves the old file
// or the new one; false when it cannot.
bool saveScenarioFile(const std::filesystem::path& file, std::string_view text);
// Writes `text` as a new file in `folder` named `stem`.scn (or `stem`-2.scn, -3 …), never over an
// existing file, making the folder when it is missing; the file written, or nullopt.
std::optional<std::filesystem::path> saveNewScenarioFile(const std::filesystem::path& folder,
                                                         const std::string& stem, std::string_view text);

// A file name inside the record folder: no folders, no way out of it.
bool plainFileName(std::string_view name);

// One stored record file as the session began with it: `text` is what the game reads (`raw` false) or
// the file's exact bytes, escaped (`raw` true).
struct StoredRecord {
    std::string name, text;
    bool raw = false;
    int line = 0; // the scenario line that gives it
};

// Writes a stored record into `folder`, as a scenario's file or rawfile line does; false when it
// cannot be written or a raw text has a bad escape.
bool writeStoredRecord(const std::filesystem::path& folder, const StoredRecord& record);

// The escapes of a rawfile line (\r \n \t \\ \xHH) taken out, or nullopt for a bad one; and put in.
std::optional<std::string> unescapeBytes(std::string_view text);
std::string escapeBytes(std::string_view bytes);

// What of a typed text a scenario line can say: everything up to its first line break or NUL. A box or a
// name box takes one line, so the game is given this much and the recording says the same.
std::string_view sayableLine(std::string_view text);

// A key as a key line holds it: the character itself, or each byte as \xHH when an editor could lose it
// (a blank stripped off the end of the line, a control character) or it could be read as an escape. A
// key line of more than one character starting with a backslash is escaped; a typed key is one
// character, so older files never hold such a line, and their "key \" is still the backslash.
std::string keyText(std::string_view key);
std::optional<std::string> keyFromText(std::string_view text);

// A whole count as scenario lines write it ("250", "2.0e2"), at most 1e15; nullopt for anything else.
std::optional<long long> wholeCount(std::string_view text);

// The button a reply line names ("OK", "Yes", "No"), and the word that names a button.
std::optional<Button> buttonNamed(std::string_view name);
std::string_view replyWord(Button b);

} // namespace squeakrun
