// Who drives each car, a person or the computer, and how well the computer drives: the Options menu's
// entries, the choice remembered between runs, and the seats it gives the clock driver.
#pragma once

#include "computer/computer_driver.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class QAction;
class QMenu;

namespace squeakrun {
struct Game;
}

namespace squeakrun::qt {

class ClockDriver;

// The cars the computer drives: none, player 2's, player 1's, or both (a demo that plays itself).
enum class Drivers { People, Player2, Player1, Both };

struct Seating {
    Drivers drivers = Drivers::People;
    Skill skill = Skill::Average;

    bool drives(int player) const;
};

// The words for the choices, on the command line and in the player's settings: "none", "2", "1",
// "both"; "easy", "average", "hard". Nullopt for a word that names none.
std::optional<Drivers> driversNamed(const QString& word);
std::optional<Skill> skillNamed(const QString& word);

class ComputerChoice : public QObject {
    Q_OBJECT
  public:
    // `seed` is the game's: each car's driver draws its slips from a stream of its own made from it.
    ComputerChoice(Game& game, ClockDriver& clock, std::uint64_t seed, QObject* parent = nullptr);

    // Adds the two groups of choices to `menu`.
    void addEntries(QMenu* menu);

    // Seats the computer as `seating` says, at once; with `remember`, the choice is also the one
    // the next run starts with.
    void choose(const Seating& seating, bool remember);
    const Seating& seating() const { return seating_; }
    // The choice the last run left, or the one a first run starts with (both cars by people).
    static Seating remembered();

    // Whether a typed character is a key of a car the computer drives: the keyboard has no say there.
    bool ownsKey(std::string_view typed) const;

  signals:
    // A car's driver changed: the computer at `skill` took it over, or (nullopt) a person did. At the
    // game time the game stands at when it is told.
    void seatChanged(int player, std::optional<squeakrun::Skill> skill);

  private:
    void showChoice();
    void keepTheDemoGoing();

    Game& g_;
    ClockDriver& clock_;
    std::uint64_t seed_;
    Seating seating_;
    std::vector<QAction*> driversEntries_, skillEntries_;
    QTimer demoStart_;
};

} // namespace squeakrun::qt
