// A recorded session read back for watching: the whole file checked before anything plays, in
// bounded memory and time, so a file that is not a session, names an unknown command, is cut off or
// is huge is refused with one clear line and touches nothing.
#pragma once

#include "session/inputs.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace squeakrun {

// A ten-minute session takes a few tens of KiB; anything past this is no session.
constexpr std::uintmax_t kMaxSessionBytes = 16u << 20;

// The text of a scenario file, read up to kMaxSessionBytes (a larger file, or one that keeps giving
// bytes, is refused by its size before it is read); nullopt with `why` when it cannot be read.
std::optional<std::string> readScenarioText(const std::filesystem::path& file, std::string& why);

// Writes a scenario file whole; false when it cannot.
bool saveScenarioFile(const std::filesystem::path& file, std::string_view text);
// Writes `text` as a new file in `folder` named `stem`.scn (or `stem`-2.scn, -3 …), never over an
// existing file, making the folder when it is missing; the file written, or nullopt.
std::optional<std::filesystem::path> saveNewScenarioFile(const std::filesystem::path& folder,
                                                         const std::string& stem, std::string_view text);

// A file name inside the record folder: no folders, no way out of it.
bool plainFileName(std::string_view name);

// One stored record file as the session began with it: `text` is what the game reads (`raw` false) or
// the file's exact bytes (`raw` true).
struct StoredRecord {
    std::string name, text;
    bool raw = false;
};

// Writes a stored record into `folder`, as a scenario's file or rawfile line does; false when it
// cannot be written or a raw text has a bad escape.
bool writeStoredRecord(const std::filesystem::path& folder, const StoredRecord& record);

// The escapes of a rawfile line (\r \n \t \\ \xHH) taken out, or nullopt for a bad one; and put in.
std::optional<std::string> unescapeBytes(std::string_view text);
std::string escapeBytes(std::string_view bytes);

// A whole count as scenario lines write it ("250", "2.0e2"), at most 1e15; nullopt for anything else.
std::optional<long long> wholeCount(std::string_view text);

// One line of a session, in order: the start-up boxes' answers come before Start.
struct SessionStep {
    enum class Kind { Answer, Reply, Start, Wait, Input, Computer, Expect };
    Kind kind = Kind::Wait;
    std::int64_t ms = 0;               // Wait
    Input input;                       // Input
    SeatChange seat;                   // Computer
    std::optional<std::string> answer; // Answer: nullopt cancels the box
    Button reply = Button::OK;         // Reply
    std::string name, value;           // Expect
};

struct Session {
    std::uint64_t seed = 1;
    std::vector<StoredRecord> records;
    std::vector<SessionStep> steps;
};

// The session in `file`, or the one line saying why it cannot be watched.
std::variant<Session, std::string> readSession(const std::filesystem::path& file);
std::variant<Session, std::string> parseSession(std::string_view text);

// The button a reply line names ("OK", "Yes", "No"), and the word that names a button.
std::optional<Button> buttonNamed(std::string_view name);
std::string_view replyWord(Button b);

} // namespace squeakrun
