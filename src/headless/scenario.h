// The scenario runner: plays a scenario file against the game with the headless platform, a fresh
// application folder and an exact game clock. See tools/script for the command-line front.
#pragma once

#include <filesystem>
#include <ostream>
#include <string_view>

namespace squeakrun {

enum class ScenarioStatus { Passed = 0, Failed = 1, Malformed = 2 };

// Runs one scenario (its text, and the label used in messages, usually the file name). Everything the
// scenario prints goes to `out`. With `rollback` N, after every step the game goes back to a copy of
// itself N steps before and plays them again, failing where it does not come back to the same game.
ScenarioStatus runScenario(std::string_view text, const std::string& label, std::ostream& out,
                           int rollback = 0);
ScenarioStatus runScenarioFile(const std::filesystem::path& file, std::ostream& out);

} // namespace squeakrun
