// The players' keys by their place on the keyboard: each of a player's seven actions is bound to a
// physical key (its native scan code), so the fingers find the same keys on any layout, and the game
// still receives its own command letters. The bindings are the players' to change, and are kept
// between runs.
#pragma once

#include <QHash>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QKeyEvent;

namespace squeakrun::qt {

// A player's actions, in the order of the game's command letters.
enum class Action { Up, Down, Left, Right, Stop, Select, Drop };
inline constexpr int kActionCount = 7;
inline constexpr std::array<Action, kActionCount> kActions = {
    Action::Up, Action::Down, Action::Left, Action::Right, Action::Stop, Action::Select, Action::Drop};

// The action's word in the settings ("up") and its caption for the players ("Up").
const char* actionWord(Action action);
QString actionCaption(Action action);

// One player's action; player 0 is player 1.
struct Seat {
    int player;
    Action action;
    bool operator==(const Seat&) const = default;
};
// "Player 2's drop".
QString seatCaption(Seat seat);

// The command letter the game takes for an action (upper case).
char commandLetter(Seat seat);

using ScanCode = std::uint32_t;

class KeyBindings {
  public:
    // The keys that are W S A D Q R E and I K J L U P O on a US keyboard.
    KeyBindings();

    ScanCode key(Seat seat) const;
    // Who the key is bound to, if anyone.
    std::optional<Seat> boundTo(ScanCode code) const;
    // Binds the key to the seat, unless another seat has it: then nothing changes and that seat is
    // returned.
    std::optional<Seat> bind(Seat seat, ScanCode code);
    void restoreDefaults();
    bool operator==(const KeyBindings& other) const { return keys_ == other.keys_; }

    // What a key press types into the game: the command letter of its seat when the platform tells
    // the key's place; without a place (no scan code), the characters typed, as the layout has them.
    std::vector<std::string> typed(const QKeyEvent& event) const;

    // The key's caption as the players' keyboard labels it ("Z" on a French keyboard where a US one
    // says W).
    QString label(ScanCode code) const;
    QString label(Seat seat) const { return label(key(seat)); }
    // The caption of the key that types the game's command letter (upper case), for the game's own
    // texts.
    std::string keyName(char letter) const;
    // Notes how a key labels itself in an event, for platforms where the layout cannot be asked.
    void learnLabel(const QKeyEvent& event);

    // The bindings the player kept, or the defaults when none were kept or they cannot be read.
    static KeyBindings remembered();
    void remember() const;

  private:
    std::array<std::array<ScanCode, kActionCount>, 2> keys_;
    QHash<ScanCode, QString> learned_;
};

} // namespace squeakrun::qt
