#include "headless/headless_platform.h"

#include "session/session_file.h"

namespace squeakrun {

std::string escapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

Button HeadlessPlatform::messageBox(const std::string& text, Buttons buttons, const std::string& title) {
    ++messageCount;
    lastMessage = text;
    lastTitle = title;
    Button answer = buttons == Buttons::YesNo ? Button::Yes : Button::OK;
    if (!useDefaults && !replies.empty()) {
        Button wanted = replies.front();
        replies.pop_front();
        bool offered = buttons == Buttons::YesNo ? wanted != Button::OK : wanted == Button::OK;
        if (offered)
            answer = wanted;
        else if (!fault)
            fault = "reply " + std::string(replyWord(wanted)) + " names a button the box does not have";
    }
    if (log)
        *log << "message [" << escapeText(title) << "] " << escapeText(text) << " -> " << replyWord(answer)
             << '\n';
    return answer;
}

void HeadlessPlatform::cue(Cue cue) {
    if (heard.size() < kHeardKept) heard.push_back(cue);
    if (log) *log << "sound " << cueName(cue) << '\n';
}

std::string HeadlessPlatform::inputBox(const std::string& prompt, const std::string& title,
                                       const std::string& defaultAnswer) {
    ++inputCount;
    lastPrompt = prompt;
    std::string answer = defaultAnswer;
    if (!useDefaults && !answers.empty()) {
        answer = answers.front().value_or(std::string());
        answers.pop_front();
    }
    if (log)
        *log << "input [" << escapeText(title) << "] " << escapeText(prompt) << " -> " << escapeText(answer)
             << '\n';
    return answer;
}

} // namespace squeakrun
