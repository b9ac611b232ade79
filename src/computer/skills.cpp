// The skill table and the words for the skills.
#include "computer/skills.h"

#include <array>

namespace squeakrun {

namespace {

constexpr std::array<SkillTraits, 3> kSkills = {{
    // reaction, key gap, safety steps, car margin, hazard margin, selling, keep speed, buy tank to,
    // gas reserve, slip chance, lapse chance, lapse, device chance, rival sense
    {300, 250, 4, 120, 0, Selling::Never, 0, 0, 4, 0.04f, 0.003f, 600, 0.25f, 0},       // Easy
    {150, 120, 8, 90, 20, Selling::WhenIdle, 50, 30, 5, 0.002f, 0.0002f, 300, 0.6f, 0}, // Average
    {30, 60, 4, 150, 40, Selling::Freely, 50, 35, 6, 0, 0, 0, 1, 0.8f},                 // Hard
}};

constexpr std::array<std::string_view, 3> kSkillWords = {"easy", "average", "hard"};

} // namespace

const SkillTraits& traitsOf(Skill skill) {
    return kSkills[static_cast<std::size_t>(skill)];
}

std::string_view skillWord(Skill skill) {
    return kSkillWords[static_cast<std::size_t>(skill)];
}

std::optional<Skill> skillNamed(std::string_view word) {
    for (std::size_t i = 0; i < kSkillWords.size(); ++i)
        if (word == kSkillWords[i]) return static_cast<Skill>(i);
    return std::nullopt;
}

} // namespace squeakrun
