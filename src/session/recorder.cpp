#include "session/recorder.h"

#include "records/rtf.h"
#include "rules/saved_records.h"
#include "session/session_file.h"

#include <algorithm>

namespace squeakrun {

const std::array<std::string_view, 3> kRecordFiles = {"hscore.txt", "name.txt", "comment.txt"};

void Recorder::begin(std::uint64_t seed, Game& g) {
    lines_ = "seed " + std::to_string(seed) + '\n';
    for (std::string_view name : kRecordFiles) {
        const std::string text = loadRecord(g, name);
        // A file line holds the text as it is; a text with a line break or any other control character
        // (which an editor could change, a NUL included) goes as the document that gives it back exactly.
        if (std::ranges::none_of(text, [](unsigned char c) { return c < 0x20 || c == 0x7f; }))
            lines_ += "file " + std::string(name) + ' ' + text + '\n';
        else
            lines_ += "rawfile " + std::string(name) + ' ' + escapeBytes(textToRtf(text)) + '\n';
    }
}

void Recorder::started() {
    flushAnswers();
    lines_ += "start\n";
}

void Recorder::flushAnswers() {
    lines_ += pending_;
    pending_.clear();
    pending_.shrink_to_fit();
}

void Recorder::step(const std::string& line, std::int64_t now) {
    // A box opened by this step or by a tick before it is answered before the step that opens it.
    flushAnswers();
    if (now > last_) lines_ += "wait " + std::to_string(now - last_) + '\n';
    last_ = now;
    lines_ += line;
    lines_ += '\n';
}

void Recorder::input(const Input& input, std::int64_t now) {
    step(inputLine(input), now);
}

void Recorder::seated(const SeatChange& change, std::int64_t now) {
    step(seatChangeLine(change), now);
}

void Recorder::answered(const std::string& answer) {
    pending_ += answer.empty() ? std::string("answer\n") : "answer " + answer + '\n';
}

void Recorder::replied(Button button) {
    pending_ += "reply " + std::string(replyWord(button)) + '\n';
}

std::string Recorder::scenario(const Game& g, std::string_view version, std::string_view date) const {
    std::string out =
        "# Squeakrun! " + std::string(version) + " session recorded " + std::string(date) + '\n';
    out += "# " + g.players[0].name + " and " + g.players[1].name + ", difficulty " + g.difficulty +
           "\n# Play it again: squeakrun --replay FILE; check it: squeakrun-script FILE\n";
    out += lines_;
    out += pending_;
    if (g.clock.now > last_) out += "wait " + std::to_string(g.clock.now - last_) + '\n';
    for (const auto& [name, value] : shownAtEnd(g))
        out += "expect " + name + ' ' + value + '\n';
    return out;
}

std::vector<std::pair<std::string, std::string>> shownAtEnd(const Game& g) {
    const MainWindow& w = g.window;
    std::vector<std::pair<std::string, std::string>> shown;
    for (Control MainWindow::*PlayerRow::*label :
         {&PlayerRow::scoreLabel, &PlayerRow::livesLabel, &PlayerRow::gasLabel})
        for (const PlayerRow& row : kPlayers)
            shown.emplace_back(controlName(row.*label) + ".Caption", (w.*(row.*label)).caption);
    shown.emplace_back(controlName(&MainWindow::highScoreBox) + ".Text", w.highScoreBox.text);
    // An expect line holds one line of text.
    std::erase_if(shown, [](const auto& s) { return s.second.find_first_of("\r\n") != std::string::npos; });
    return shown;
}

Button RecordingPlatform::messageBox(const std::string& text, Buttons buttons, const std::string& title) {
    const Button b = inner_.messageBox(text, buttons, title);
    recorder_.replied(b);
    return b;
}

std::string RecordingPlatform::inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultAnswer) {
    // A box holds one line: the game is given what the recording can say.
    std::string answer(sayableLine(inner_.inputBox(prompt, title, defaultAnswer)));
    recorder_.answered(answer);
    return answer;
}

} // namespace squeakrun
