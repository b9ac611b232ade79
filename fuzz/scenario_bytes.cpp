#include "scenario_bytes.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace squeakrun::fuzz {

namespace {

class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool empty() const { return pos_ >= size_; }
    std::uint8_t next() { return pos_ < size_ ? data_[pos_++] : 0; }
    template <std::size_t N> std::string_view pick(const std::array<std::string_view, N>& words) {
        return words[next() % N];
    }
    // A short text: its length comes first. Line breaks would end the scenario line, so they become blanks.
    std::string text(std::size_t maxLength) {
        std::size_t length = std::min<std::size_t>(next() % (maxLength + 1), size_ - std::min(pos_, size_));
        std::string out;
        for (std::size_t i = 0; i < length; ++i) {
            char c = static_cast<char>(next());
            out += c == '\n' || c == '\r' ? ' ' : c;
        }
        return out;
    }
    // Any bytes, written with the runner's \xHH escapes for `rawfile`.
    std::string escapedBytes(std::size_t maxLength) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::size_t length = std::min<std::size_t>(next() % (maxLength + 1), size_ - std::min(pos_, size_));
        std::string out;
        for (std::size_t i = 0; i < length; ++i) {
            std::uint8_t b = next();
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
        return out;
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_, pos_ = 0;
};

// The letters the players use, a few others, and upper and lower case.
constexpr std::string_view kKeys = "WSADQREIKJLUPOwsadqreikjlupoxZ1 ";
constexpr std::array<std::string_view, 8> kClicks = {"Command3",        "Picture2",       "lblp1gas",
                                                     "lblp2gas",        "Form2.Command1", "Form3.cmdupdate",
                                                     "Form3.cmdcancel", "Form4.Command1"};
constexpr std::array<std::string_view, 9> kMenus = {"mnuFile",       "mnuFilePause",    "mnuFileSettings",
                                                    "mnuFileScores", "mnuFileExit",     "mnuHelp",
                                                    "mnuHelpRules",  "mnuHelpControls", "mnuHelpAbout"};
constexpr std::array<std::string_view, 3> kFiles = {"hscore.txt", "name.txt", "comment.txt"};
constexpr std::array<std::string_view, 3> kButtons = {"OK", "Yes", "No"};
constexpr std::array<std::string_view, 2> kNameBoxes = {"Form3.txtp1name", "Form3.txtp2name"};
constexpr std::array<std::string_view, 4> kSkills = {"easy", "average", "hard", "off"};

} // namespace

std::string scenarioFromBytes(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    std::string s = "seed " + std::to_string(in.next()) + "\n";

    // Before start: record files (as the game writes them, or any bytes) and the start-up answers. The
    // game asks again after an empty name or an unknown difficulty, and takes the default once the queue
    // is empty, so start-up always ends.
    for (int files = in.next() % 4; files > 0; --files) {
        std::string_view name = in.pick(kFiles);
        if (in.next() % 2)
            s += "file " + std::string(name) + " " + in.text(24) + "\n";
        else
            s += "rawfile " + std::string(name) + " " + in.escapedBytes(48) + "\n";
    }
    for (int answers = in.next() % 5; answers > 0; --answers) {
        std::string answer = in.text(12);
        s += answer.empty() && in.next() % 2 ? "answer\n" : "answer " + answer + "\n";
    }
    s += "start\n";

    long long gameMs = 0;
    while (!in.empty() && gameMs < kMaxGameMs) {
        switch (in.next() % 13) {
        case 0:
        case 1:
        case 2:
            s += "key " + std::string(1, kKeys[in.next() % kKeys.size()]) + "\n";
            break;
        case 3:
            s += "click " + std::string(in.pick(kClicks)) + "\n";
            break;
        case 4:
            s += "menu " + std::string(in.pick(kMenus)) + "\n";
            break;
        case 5:
        case 6: {
            long long ms = in.next() * 10LL;
            gameMs += ms;
            s += "wait " + std::to_string(ms) + "\n";
            break;
        }
        case 7:
            s += "type " + std::string(in.pick(kNameBoxes)) + " " + in.text(12) + "\n";
            break;
        case 8:
            s += "select Form3.Combo1 " + std::to_string(in.next() % 3) + "\n";
            break;
        case 9: {
            std::string answer = in.text(12);
            s += answer.empty() && in.next() % 2 ? "answer\n" : "answer " + answer + "\n";
            break;
        }
        case 10:
            s += "reply " + std::string(in.pick(kButtons)) + "\n";
            break;
        case 11: {
            long long ms = in.next() * 100LL;
            gameMs += ms;
            s += "autoplay " + std::to_string(ms) + "\n";
            break;
        }
        case 12: // the computer takes a car, or gives it back
            s += "computer " + std::to_string(1 + in.next() % 2) + " " + std::string(in.pick(kSkills)) + "\n";
            break;
        }
    }
    s += "dump\n";
    return s;
}

} // namespace squeakrun::fuzz
