// What two machines of a network game say to each other, as values, and the bytes that carry them.
// Nothing from the other machine is trusted: decode() checks every length, count and range before it
// reads, cuts names to kMaxNameBytes without control characters, and refuses anything else whole.
#pragma once

#include "session/inputs.h"
#include "window/platform.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace squeakrun {

// Raised whenever the messages change shape or meaning; both machines must speak the same one.
inline constexpr std::uint16_t kProtocolNumber = 1;

// Keys go unreliable and sequenced: a lost packet is made good by the next one, which repeats every
// key the other machine has not acknowledged. Everything else goes reliable and in order.
enum class Channel : std::uint8_t { Keys = 0, Reliable = 1 };

inline constexpr std::size_t kMaxNameBytes = 32;
inline constexpr std::size_t kMaxLineBytes = 256;
inline constexpr std::size_t kMaxRecordBytes = 1024; // one stored record file's text
inline constexpr std::size_t kMaxKeysPerPacket = 32;
// A reliable message past this is no message of ours: the link closes on it.
inline constexpr std::size_t kMaxReliableBytes = 4096;

// The first thing each side says: who it is and what it speaks.
struct Hello {
    std::uint16_t protocol = kProtocolNumber;
    std::string version; // the game's version: both machines must play the same rules
    std::string name;    // this side's player
};

// The host's answer to a Hello: the game both machines play, from start-up.
struct HostSetup {
    std::uint64_t seed = 1;
    std::string difficulty;             // "1", "2" or "3"
    std::array<std::string, 3> records; // the stored record files' texts, as the host read them
};

// One key of a player at a game time. `order` counts every input of that side (keys and agreed
// events), so two of the same millisecond apply in the order they were made.
struct StampedKey {
    std::uint32_t time = 0;
    std::uint32_t order = 0;
    char key = 0;
};

// The keys packet, sent many times a second.
struct Keys {
    std::uint32_t frontier = 0; // every input of the sender before this game time is known
    std::int32_t lead = 0;      // the sender's game time minus the last frontier it heard, in ms
    std::uint32_t acked = 0;    // how many of the receiver's keys the sender holds
    std::uint32_t first = 0;    // the number of keys[0] among the sender's keys
    std::uint32_t events = 0;   // how many agreed events the sender has sent: the frontier holds once
                                // the receiver has them all, as they travel on the other channel
    std::vector<StampedKey> keys;
};

// An input that is not a key (the start button, pause, the host's settings), agreed by both.
struct Event {
    std::uint32_t time = 0;
    std::uint32_t order = 0;
    Input input;
};

// The answer of the sender's player to a box both machines opened (the record's comment, a Yes/No).
struct Answer {
    std::uint32_t box = 0; // boxes are counted from start-up
    Button button = Button::OK;
    std::string text;
};

// The signature of the sender's confirmed game at a game time.
struct Signature {
    std::uint32_t time = 0;
    std::uint64_t value = 0;
};

struct Quit {};

using Message = std::variant<Hello, HostSetup, Keys, Event, Answer, Signature, Quit>;

Channel channelOf(const Message& message);
std::vector<std::uint8_t> encode(const Message& message);
// The message the bytes hold, or nullopt for anything malformed, truncated, too long or out of range.
std::optional<Message> decode(std::span<const std::uint8_t> bytes);

// A name as the other machine may show it: control characters out, at most kMaxNameBytes bytes, never
// a UTF-8 character cut in half.
std::string cleanName(std::string_view name);
// A line a player typed (a box's answer) as the other machine reads it: control characters out, at most
// kMaxLineBytes bytes.
std::string cleanLine(std::string_view line);

} // namespace squeakrun
