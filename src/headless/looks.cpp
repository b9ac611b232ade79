#include "headless/looks.h"

#include "records/record_file.h"

#include <utility>

namespace squeakrun {

void ScenarioLooks::watch(Game& g) {
    if (game_ == &g) return;
    game_ = &g;
    fields_ = gameFields(g);
}

ScenarioStatus ScenarioLooks::malformed(const ScriptError& error) {
    out_ << "MALFORMED " << label_;
    if (error.line > 0) out_ << ':' << error.line;
    out_ << ": ";
    if (!error.text.empty())
        out_ << error.text << " (" << error.why << ")\n";
    else
        out_ << error.why << '\n';
    return status_ = ScenarioStatus::Malformed;
}

void ScenarioLooks::fail(int line, const std::string& why) {
    out_ << "FAIL " << label_;
    if (line > 0) out_ << ':' << line;
    out_ << ": " << why << '\n';
    if (status_ == ScenarioStatus::Passed) status_ = ScenarioStatus::Failed;
}

std::optional<Value> ScenarioLooks::read(const std::string& name) {
    if (name == "clock") return Value(Count(game_->clock.now));
    if (name == "count.message") return Value(Count(platform_.messageCount));
    if (name == "count.input") return Value(Count(platform_.inputCount));
    if (name == "exited") return Value(game_->exited);
    if (name == "last.message") return Value(platform_.lastMessage);
    if (name == "last.title") return Value(platform_.lastTitle);
    if (name == "last.prompt") return Value(platform_.lastPrompt);
    // Looking at the cues heard so far starts the list afresh, so each check hears what came since
    // the one before.
    if (name == "sounds") return Value(takeSounds());
    if (name.rfind("file:", 0) == 0) {
        std::string file = name.substr(5);
        if (!plainFileName(file)) return std::nullopt;
        return Value(loadRecordFile(folder_ / file));
    }
    auto it = fields_.find(name);
    if (it == fields_.end()) return std::nullopt;
    return it->second.get();
}

std::string ScenarioLooks::takeSounds() {
    std::string names;
    for (Cue cue : std::exchange(platform_.heard, {})) {
        if (!names.empty()) names += ' ';
        names += cueName(cue);
    }
    return names;
}

bool ScenarioLooks::formLoaded(int form) const {
    switch (form) {
    case 2:
        return game_->about.loaded;
    case 3:
        return game_->settings.loaded;
    case 4:
        return game_->scores.loaded;
    default:
        return true;
    }
}

// The value of `name`, or nullopt once the line is found malformed for naming nothing.
std::optional<Value> ScenarioLooks::lookUp(const Step& line, const std::string& name) {
    auto value = read(name);
    if (!value) malformed(line, "unknown name " + name);
    return value;
}

void ScenarioLooks::expect(const Step& line) {
    const auto actual = lookUp(line, line.name);
    if (!actual) return;
    const auto match = valueMatches(*actual, line.value);
    if (!match) return malformed(line, "value of the wrong kind for " + line.name);
    if (!*match) fail(line.line, line.name + " is " + formatValue(*actual) + ", expected " + line.value);
}

void ScenarioLooks::print(const Step& line) {
    if (const auto actual = lookUp(line, line.rest))
        out_ << line.rest << " = " << formatValue(*actual) << '\n';
}

void ScenarioLooks::writeDump(std::ostream& to) {
    for (auto& [fieldName, field] : fields_)
        if (formLoaded(field.form)) to << fieldName << " = " << formatValue(field.get()) << '\n';
}

void ScenarioLooks::set(const Step& line) {
    auto it = fields_.find(line.name);
    if (it == fields_.end()) return malformed(line, "unknown name " + line.name);
    if (!it->second.set(line.value)) malformed(line, "value of the wrong kind for " + line.name);
}

} // namespace squeakrun
