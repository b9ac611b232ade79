// What a scenario's lines see of a game and say about it: the game's values by name, the boxes and
// sounds its platform logged, the record files of its folder. The lines that look (expect, print,
// dump) and the one that sets read the same names for a game on this machine and for the confirmed
// game of a network machine, and every complaint about a line is worded here.
#pragma once

#include "headless/headless_platform.h"
#include "headless/names.h"
#include "headless/scenario.h"
#include "session/script.h"

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>

namespace squeakrun {

class ScenarioLooks {
  public:
    ScenarioLooks(std::string label, std::ostream& out, HeadlessPlatform& platform,
                  std::filesystem::path folder)
        : label_(std::move(label)), out_(out), platform_(platform), folder_(std::move(folder)) {}

    // The game the names read from; another game than before binds them afresh.
    void watch(Game& g);

    void expect(const Step& line);
    void print(const Step& line);
    void set(const Step& line);
    // Every variable and property of the windows that are loaded.
    void writeDump(std::ostream& to);

    // "MALFORMED label:line: text (why)"; "FAIL label:line: why"; line 0 for the file as a whole.
    ScenarioStatus malformed(const ScriptError& error);
    void malformed(const Step& step, const std::string& why) {
        malformed(ScriptError{step.line, step.text, why});
    }
    void fail(int line, const std::string& why);
    ScenarioStatus status() const { return status_; }

  private:
    std::optional<Value> read(const std::string& name);
    std::optional<Value> lookUp(const Step& line, const std::string& name);
    std::string takeSounds();
    bool formLoaded(int form) const;

    std::string label_;
    std::ostream& out_;
    HeadlessPlatform& platform_;
    std::filesystem::path folder_;
    Game* game_ = nullptr;
    std::map<std::string, Field> fields_;
    ScenarioStatus status_ = ScenarioStatus::Passed;
};

} // namespace squeakrun
