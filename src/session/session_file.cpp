#include "session/session_file.h"

#include "records/record_file.h"
#include "window/numbers.h"

#include <cmath>
#include <fstream>

namespace squeakrun {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A byte as the \xHH escape.
void appendHex(std::string& out, unsigned char u) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += {'\\', 'x', kHex[u >> 4], kHex[u & 15]};
}

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

std::string_view sayableLine(std::string_view text) {
    return text.substr(0, text.find_first_of(std::string_view("\r\n\0", 3)));
}

std::string keyText(std::string_view key) {
    if (escapeBytes(key) == key && key.find(' ') == std::string_view::npos) return std::string(key);
    std::string out;
    for (char c : key)
        appendHex(out, static_cast<unsigned char>(c));
    return out;
}

std::optional<std::string> keyFromText(std::string_view text) {
    if (text.size() > 1 && text[0] == '\\') return unescapeBytes(text);
    return std::string(text);
}

std::string escapeBytes(std::string_view bytes) {
    std::string out;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\')
            out += "\\\\";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (u < 0x20 || u == 0x7f)
            appendHex(out, u);
        else
            out += c;
    }
    return out;
}

bool writeStoredRecord(const std::filesystem::path& folder, const StoredRecord& record) {
    if (!record.raw) return saveRecordFile(folder / record.name, record.text);
    const auto bytes = unescapeBytes(record.text);
    return bytes && saveFileWhole(folder / record.name, *bytes);
}

bool saveScenarioFile(const std::filesystem::path& file, std::string_view text) {
    return saveFileWhole(file, text);
}

std::optional<std::filesystem::path> saveNewScenarioFile(const std::filesystem::path& folder,
                                                         const std::string& stem, std::string_view text) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (int n = 1; n < 1000; ++n) {
        const auto file = folder / (stem + (n == 1 ? std::string() : "-" + std::to_string(n)) + ".scn");
        if (std::filesystem::exists(file, error)) continue;
        if (saveFileWhole(file, text, false)) return file;
        // Another game may have taken the name meanwhile; anything else is a failure to save.
        if (!std::filesystem::exists(file, error)) return std::nullopt;
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
