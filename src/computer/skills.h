// How well the computer drives: the three skills, the words that name them, and the one table of
// numbers that makes them differ.
#pragma once

#include "rules/state.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace squeakrun {

enum class Skill { Easy, Average, Hard };

// The words that name the skills in scenario files, on the command line and in the player's settings
// ("easy", "average", "hard"); nullopt for a word that names none.
std::string_view skillWord(Skill skill);
std::optional<Skill> skillNamed(std::string_view word);

// Whether it sells tank and speed in the upgrade station for points. Selling pays, but a beginner
// does not know it.
enum class Selling {
    Never,
    WhenIdle, // in the station anyway, or with no bonus item to go for, or to pay for gas it must have
    Freely,
};

// Easy reacts late, presses few keys, forgets that its own reaction takes time (so it turns too late
// now and then), sometimes presses the wrong key or looks away, never trades its speed for points and
// seldom uses a device; Average slips and looks away seldom, as it keeps the speed it started with
// until it is in the upgrade station anyway; Hard reacts at once, keeps a wider berth, buys a bigger tank,
// sells what it does not need, uses every chance for a device and leaves an item to the other car when that
// car gets there first.
struct SkillTraits {
    std::int64_t reactionMs; // from seeing a thing to pressing the key for it
    std::int64_t keyGapMs;   // the least time between two keys
    int safetySteps;         // movement steps of its road it checks beyond its reaction time
    float carMargin;         // twips it keeps from the other car beyond touching it
    float hazardMargin;      // ... and from walls, traps, slicks and cheese
    Selling selling;
    double keepSpeed;     // when it sells speed, down to this
    Count buyTankTo;      // it buys tank up to this while the points last
    Count gasReserve;     // seconds of gas it keeps over the trip to the gas station
    float slipChance;     // that a steering key it means comes out as another one
    float lapseChance;    // a look, that its attention wanders
    std::int64_t lapseMs; // for this long
    float deviceChance;   // that it takes a chance to drop a device when one comes
    float rivalSense;     // how far it leaves alone an item the other car reaches first
};

const SkillTraits& traitsOf(Skill skill);

} // namespace squeakrun
