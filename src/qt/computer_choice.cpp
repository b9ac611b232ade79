#include "qt/computer_choice.h"

#include "qt/clock_driver.h"
#include "qt/qt_platform.h"
#include "rules/main_controls.h"
#include "rules/state.h"

#include <QActionGroup>
#include <QMenu>

#include <array>
#include <cctype>

namespace squeakrun::qt {

namespace {

// One choice: its word and its menu caption, in the order of the enum.
struct Entry {
    const char* word;
    const char* caption;
};
constexpr std::array<Entry, 4> kDrivers{{
    {"none", "&People Drive Both Cars"},
    {"2", "Computer Drives Player &2"},
    {"1", "Computer Drives Player &1"},
    {"both", "Computer Drives Both (&Demo)"},
}};
// The skills' entries, in the order of Skill; their words are the driver's own.
constexpr std::array<Entry, 3> kSkills{{
    {nullptr, "&Easy Computer"},
    {nullptr, "&Average Computer"},
    {nullptr, "&Hard Computer"},
}};

template <class Choice, std::size_t N>
std::optional<Choice> named(const std::array<Entry, N>& entries, const QString& word) {
    for (std::size_t i = 0; i < N; ++i)
        if (word == QLatin1String(entries[i].word)) return static_cast<Choice>(i);
    return std::nullopt;
}

QString driversWord(Drivers choice) {
    return QLatin1String(kDrivers[static_cast<std::size_t>(choice)].word);
}

// How long the demo shows the field between two games before it starts the next one (ms).
constexpr int kDemoPauseMs = 2000;

} // namespace

bool Seating::drives(int player) const {
    return drivers == Drivers::Both || drivers == (player == 0 ? Drivers::Player1 : Drivers::Player2);
}

std::optional<Drivers> driversNamed(const QString& word) {
    return named<Drivers>(kDrivers, word);
}

std::optional<Skill> skillNamed(const QString& word) {
    return squeakrun::skillNamed(word.toStdString());
}

ComputerChoice::ComputerChoice(Game& game, ClockDriver& clock, std::uint64_t seed, QObject* parent)
    : QObject(parent), g_(game), clock_(clock), seed_(seed) {
    demoStart_.setSingleShot(true);
    demoStart_.setInterval(kDemoPauseMs);
    connect(&demoStart_, &QTimer::timeout, this, &ComputerChoice::keepTheDemoGoing);
    connect(&clock_, &ClockDriver::modelTouched, this, &ComputerChoice::keepTheDemoGoing);
}

void ComputerChoice::addEntries(QMenu* menu) {
    auto group = [this, menu](const auto& entries, std::vector<QAction*>& actions, auto apply) {
        auto* g = new QActionGroup(menu);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            QAction* a = g->addAction(QString::fromLatin1(entries[i].caption));
            a->setCheckable(true);
            connect(a, &QAction::triggered, this, [this, apply, i] {
                Seating s = seating_;
                apply(s, i);
                choose(s, true);
            });
            actions.push_back(a);
        }
        menu->addActions(g->actions());
    };
    group(kDrivers, driversEntries_, [](Seating& s, std::size_t i) { s.drivers = static_cast<Drivers>(i); });
    menu->addSeparator();
    group(kSkills, skillEntries_, [](Seating& s, std::size_t i) { s.skill = static_cast<Skill>(i); });
    showChoice();
}

void ComputerChoice::choose(const Seating& seating, bool remember) {
    auto skillAt = [](const Seating& s, int player) {
        return s.drives(player) ? std::optional(s.skill) : std::nullopt;
    };
    std::array<bool, 2> changed{};
    const bool taken = clock_.changeSeats([&](ComputerSeats& seats) {
        for (int player = 0; player < 2; ++player) {
            // A driver that stays keeps what it has seen; each car's has a stream of slips of its
            // own, the same one whenever it is seated.
            changed[player] = skillAt(seating_, player) != skillAt(seating, player);
            if (changed[player]) seats.set(player, skillAt(seating, player), seed_);
        }
    });
    if (taken) seating_ = seating;
    showChoice(); // when the game could not take the change now, the menu shows what holds
    if (!taken) return;
    for (int player = 0; player < 2; ++player)
        if (changed[player]) emit seatChanged(player, skillAt(seating_, player));
    keepTheDemoGoing();
    if (!remember) return;
    QSettings settings = playersChoices();
    settings.setValue(QStringLiteral("computer/drivers"), driversWord(seating.drivers));
    settings.setValue(QStringLiteral("computer/skill"), QString::fromLatin1(skillWord(seating.skill)));
}

Seating ComputerChoice::remembered() {
    const QSettings settings = playersChoices();
    Seating s;
    s.drivers =
        driversNamed(settings.value(QStringLiteral("computer/drivers")).toString()).value_or(s.drivers);
    s.skill = skillNamed(settings.value(QStringLiteral("computer/skill")).toString()).value_or(s.skill);
    return s;
}

bool ComputerChoice::ownsKey(std::string_view typed) const {
    if (typed.size() != 1) return false;
    const char key = static_cast<char>(std::toupper(static_cast<unsigned char>(typed[0])));
    for (int player = 0; player < 2; ++player)
        if (seating_.drives(player) && kPlayers[player].keys.find(key) != std::string_view::npos) return true;
    return false;
}

void ComputerChoice::showChoice() {
    if (driversEntries_.empty()) return;
    driversEntries_[static_cast<std::size_t>(seating_.drivers)]->setChecked(true);
    skillEntries_[static_cast<std::size_t>(seating_.skill)]->setChecked(true);
}

void ComputerChoice::keepTheDemoGoing() {
    // A demo nobody has to look after: when a game is over and its boxes are answered, the next one
    // starts by itself after a moment, as a person would press the start button (and is recorded so).
    const Control& start = g_.window.startButton;
    if (seating_.drivers != Drivers::Both || !start.visible || !start.enabled || g_.exited) {
        demoStart_.stop();
        return;
    }
    if (sender() == &demoStart_)
        clock_.play(Input::click(controlName(&MainWindow::startButton)));
    else if (!demoStart_.isActive())
        demoStart_.start();
}

} // namespace squeakrun::qt
