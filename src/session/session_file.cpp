#include "session/session_file.h"

#include "records/record_file.h"
#include "window/numbers.h"

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace squeakrun {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The commands a session may hold besides the inputs; the runner's others (run, set, print, dump,
// autoplay) reach into the game in ways no player can, so a file with them is no recorded session.
bool runnerOnly(std::string_view command) {
    return command == "run" || command == "set" || command == "print" || command == "dump" ||
           command == "autoplay";
}

class Parser {
  public:
    std::variant<Session, std::string> parse(std::string_view text) {
        if (text.find('\0') != std::string_view::npos)
            return std::string("not a scenario file: it holds binary data");
        if (!text.empty() && text.back() != '\n')
            return "cut off in the middle of its last line (line " + std::to_string(lines(text)) + ")";
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find('\n', pos);
            std::string_view line = text.substr(pos, end - pos);
            pos = end + 1;
            ++number_;
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            if (line.empty() || line[0] == '#') continue;
            if (!take(line)) return "line " + std::to_string(number_) + ": " + why_;
        }
        if (!started_) return std::string("not a recorded session: it never starts the game");
        return std::move(session_);
    }

  private:
    static std::size_t lines(std::string_view text) {
        std::size_t n = 1;
        for (char c : text)
            n += c == '\n';
        return n;
    }

    bool fail(std::string why) {
        why_ = std::move(why);
        return false;
    }

    bool take(std::string_view line) {
        const std::size_t space = line.find(' ');
        const std::string_view command = line.substr(0, space);
        const std::string_view rest =
            space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        SessionStep step;
        if (command == "seed" || command == "file" || command == "rawfile") {
            if (started_) return fail(std::string(command) + " comes before start");
            return command == "seed" ? seed(rest) : record(command, rest);
        }
        if (command == "answer") {
            step.kind = SessionStep::Kind::Answer;
            if (space != std::string_view::npos) step.answer = std::string(rest);
        } else if (command == "reply") {
            const auto button = buttonNamed(rest);
            if (!button) return fail("reply OK, Yes or No");
            step.kind = SessionStep::Kind::Reply;
            step.reply = *button;
        } else if (command == "start") {
            if (started_ || space != std::string_view::npos)
                return fail(started_ ? "second start" : "start takes nothing");
            started_ = true;
            step.kind = SessionStep::Kind::Start;
        } else if (!started_) {
            if (!isInputCommand(command) && command != "wait" && command != "computer" &&
                command != "expect" && !runnerOnly(command))
                return fail("unknown command " + std::string(command));
            return fail("only seed, file, rawfile, answer and reply come before start");
        } else if (command == "wait") {
            const auto ms = wholeCount(rest);
            if (!ms || *ms < 0) return fail("wait needs milliseconds");
            step.kind = SessionStep::Kind::Wait;
            step.ms = *ms;
        } else if (command == "expect") {
            const std::size_t split = rest.find(' ');
            step.kind = SessionStep::Kind::Expect;
            step.name = std::string(rest.substr(0, split));
            if (split != std::string_view::npos) step.value = std::string(rest.substr(split + 1));
        } else if (command == "computer") {
            const auto seat = parseSeatChange(rest);
            if (!seat) return fail("computer 1|2 easy|average|hard|off");
            step.kind = SessionStep::Kind::Computer;
            step.seat = *seat;
        } else if (isInputCommand(command)) {
            auto input = parseInput(command, rest, why_);
            if (!input) return false;
            step.kind = SessionStep::Kind::Input;
            step.input = std::move(*input);
        } else if (runnerOnly(command)) {
            return fail(std::string(command) + " is for test scenarios, not a recorded session");
        } else {
            return fail("unknown command " + std::string(command));
        }
        session_.steps.push_back(std::move(step));
        return true;
    }

    bool seed(std::string_view rest) {
        const auto v = wholeCount(rest);
        if (!v || *v < 0) return fail("seed needs a whole number");
        session_.seed = static_cast<std::uint64_t>(*v);
        return true;
    }

    bool record(std::string_view command, std::string_view rest) {
        const std::size_t split = rest.find(' ');
        const std::string_view name = rest.substr(0, split);
        if (split == std::string_view::npos || !plainFileName(name))
            return fail(std::string(command) + " NAME TEXT");
        StoredRecord r{std::string(name), std::string(rest.substr(split + 1)), command == "rawfile"};
        if (r.raw && !unescapeBytes(r.text)) return fail("bad escape in rawfile text");
        session_.records.push_back(std::move(r));
        return true;
    }

    Session session_;
    bool started_ = false;
    int number_ = 0;
    std::string why_;
};

} // namespace

bool plainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::optional<long long> wholeCount(std::string_view text) {
    const auto v = wholeNumber(text);
    if (!v || *v != std::trunc(*v) || std::fabs(*v) > 1e15) return std::nullopt;
    return static_cast<long long>(*v);
}

std::optional<std::string> unescapeBytes(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) return std::nullopt;
        switch (text[i]) {
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case '\\':
            out += '\\';
            break;
        case 'x': {
            if (i + 2 >= text.size()) return std::nullopt;
            const int high = hexDigit(text[i + 1]), low = hexDigit(text[i + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::string escapeBytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (u < 0x20 || u == 0x7f) {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else
            out += c;
    }
    return out;
}

bool writeStoredRecord(const std::filesystem::path& folder, const StoredRecord& record) {
    if (!record.raw) return saveRecordFile(folder / record.name, record.text);
    const auto bytes = unescapeBytes(record.text);
    if (!bytes) return false;
    std::ofstream out(folder / record.name, std::ios::binary);
    out << *bytes;
    return static_cast<bool>(out.flush());
}

namespace {

bool writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool writeTo(int fd, std::string_view text) {
    if (fd < 0) return false;
    const bool written = writeAll(fd, text);
    return ::close(fd) == 0 && written;
}

} // namespace

bool saveScenarioFile(const std::filesystem::path& file, std::string_view text) {
    return writeTo(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666), text);
}

std::optional<std::filesystem::path> saveNewScenarioFile(const std::filesystem::path& folder,
                                                         const std::string& stem, std::string_view text) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (int n = 1; n < 1000; ++n) {
        const auto file = folder / (stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".scn");
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (!writeTo(fd, text)) return std::nullopt;
        return file;
    }
    return std::nullopt;
}

std::optional<std::string> readScenarioText(const std::filesystem::path& file, std::string& why) {
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
        why = "is a folder, not a scenario file";
        return std::nullopt;
    }
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > kMaxSessionBytes) {
        why = "is too large to be a scenario file (" + std::to_string(size >> 20) + " MiB)";
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        why = "cannot be read";
        return std::nullopt;
    }
    // Read by the bound, not by the size: a device or a pipe may keep giving bytes.
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxSessionBytes) {
            why = "is too large to be a scenario file";
            return std::nullopt;
        }
    }
    return text;
}

std::variant<Session, std::string> parseSession(std::string_view text) {
    return Parser().parse(text);
}

std::variant<Session, std::string> readSession(const std::filesystem::path& file) {
    std::string why;
    const auto text = readScenarioText(file, why);
    if (!text) return why;
    return parseSession(*text);
}

std::optional<Button> buttonNamed(std::string_view name) {
    if (name == "OK") return Button::OK;
    if (name == "Yes") return Button::Yes;
    if (name == "No") return Button::No;
    return std::nullopt;
}

std::string_view replyWord(Button b) {
    switch (b) {
    case Button::Yes:
        return "Yes";
    case Button::No:
        return "No";
    default:
        return "OK";
    }
}

} // namespace squeakrun
