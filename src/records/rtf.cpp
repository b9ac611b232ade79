// Reader and writer for the rich-text documents of the high-score record. The reader is one pass over the
// bytes with an explicit group stack (no recursion), so deep nesting, unterminated groups, huge numbers
// and binary garbage cost time and memory linear in the document, and whatever comes out is valid UTF-8. The
// writer escapes everything outside printable ASCII, so any name or comment comes back byte for byte.
#include "records/rtf.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace squeakrun {
namespace {

constexpr char32_t kReplacementChar = 0xFFFD;

bool isSurrogate(char32_t cp) {
    return cp >= 0xD800 && cp <= 0xDFFF;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || isSurrogate(cp)) cp = kReplacementChar;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes the code point at `pos` and moves past it. A byte that does not start a well-formed sequence
// (overlong forms, encoded surrogates and values past U+10FFFF included) gives false and moves one byte.
bool nextUtf8(std::string_view s, std::size_t& pos, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    std::size_t length = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
        cp = lead;
        ++pos;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, smallest = 0x10000;
    } else {
        ++pos;
        return false;
    }
    if (s.size() - pos < length) {
        ++pos;
        return false;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(s[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return false;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < smallest || cp > 0x10FFFF || isSurrogate(cp)) {
        ++pos;
        return false;
    }
    pos += length;
    return true;
}

bool isValidUtf8(std::string_view s) {
    std::size_t pos = 0;
    char32_t cp = 0;
    while (pos < s.size())
        if (!nextUtf8(s, pos, cp)) return false;
    return true;
}

// Windows code page 1252, the code page of every document the game has ever written. Its 0x80-0x9F row
// holds typographic characters; the five bytes it leaves undefined map to the C1 control of the same
// number, as Windows decodes them. Latin-1 documents are read the same way (their 0x80-0x9F bytes are
// meant as 1252 in practice), and so is any other code page: the game's own writer puts everything beyond
// ASCII in \u escapes, so \'hh only turns up in documents from other editors.
constexpr std::array<char16_t, 32> kCp1252Row80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t fromCp1252(unsigned char byte) {
    return (byte >= 0x80 && byte < 0xA0) ? kCp1252Row80[byte - 0x80] : byte;
}

std::string decodeCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        appendUtf8(out, fromCp1252(static_cast<unsigned char>(c)));
    return out;
}

// A plain-text record file, as an editor may leave it: UTF-8 when it is valid UTF-8, 1252 otherwise.
std::string plainText(std::string_view file) {
    if (file.ends_with("\r\n"))
        file.remove_suffix(2);
    else if (file.ends_with('\n') || file.ends_with('\r'))
        file.remove_suffix(1);
    return isValidUtf8(file) ? std::string(file) : decodeCp1252(file);
}

// Destinations whose content is not part of the document's text, besides every group opened with \*.
// clang-format off
constexpr std::array<std::string_view, 45> kSkippedDestinations = {
    "annotation", "author", "buptim", "colorschememapping", "colortbl", "comment", "creatim", "datastore",
    "doccomm", "filetbl", "fldinst", "fonttbl", "footer", "footerf", "footerl", "footerr", "footnote",
    "generator", "header", "headerf", "headerl", "headerr", "info", "keywords", "latentstyles",
    "listoverridetable", "listtable", "listtext", "nonshppict", "object", "objdata", "operator", "pict",
    "pntext", "printim", "revtbl", "revtim", "rsidtbl", "shpinst", "stylesheet", "subject", "tc",
    "themedata", "title", "xmlnstbl"};
// clang-format on

struct SymbolWord {
    std::string_view word;
    char32_t character;
};

// Control words that stand for one character of text.
// clang-format off
constexpr std::array<SymbolWord, 15> kSymbolWords = {{
    {"tab", U'\t'}, {"emdash", 0x2014}, {"endash", 0x2013}, {"emspace", 0x2003}, {"enspace", 0x2002},
    {"qmspace", 0x2005}, {"bullet", 0x2022}, {"lquote", 0x2018}, {"rquote", 0x2019}, {"ldblquote", 0x201C},
    {"rdblquote", 0x201D}, {"zwj", 0x200D}, {"zwnj", 0x200C}, {"ltrmark", 0x200E}, {"rtlmark", 0x200F}}};
// clang-format on

// Parameters beyond this are clamped; no meaningful one comes near it, and it keeps the arithmetic safe.
constexpr std::int64_t kMaxParameter = 1'000'000'000;

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

struct GroupState {
    std::int64_t unicodeSkip = 1; // \ucN: how many fallback characters follow each \uN
    bool skipped = false;         // inside a destination whose content is not text

    bool operator==(const GroupState&) const = default;
};

// The states of the enclosing groups, innermost last. Runs of equal states share one entry, so ten
// thousand bare braces cost one entry; the stack can only grow with changes of state, each of which
// takes several bytes of the document.
struct SavedStates {
    GroupState state;
    std::size_t levels;
};

class Reader {
  public:
    explicit Reader(std::string_view document) : in_(document) {}

    std::string run() {
        while (pos_ < in_.size()) {
            const char c = in_[pos_++];
            if (c == '{') {
                openGroup();
            } else if (c == '}') {
                // Whatever follows the outermost group is not part of the document.
                if (!closeGroup()) break;
            } else if (c == '\\') {
                controlSequence();
            } else if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') {
                character(fromCp1252(static_cast<unsigned char>(c)));
            }
            // Raw CR and LF only break the lines of the file, and other control bytes are not text.
        }
        flushSurrogate();
        // The closing paragraph mark ends the document; it is not part of its text.
        if (paragraphEnd_ == out_.size()) out_.resize(out_.size() - 2);
        return std::move(out_);
    }

  private:
    void openGroup() {
        fallbackLeft_ = 0;
        if (!saved_.empty() && saved_.back().state == state_)
            ++saved_.back().levels;
        else
            saved_.push_back({state_, 1});
    }

    // False once the outermost group has closed.
    bool closeGroup() {
        fallbackLeft_ = 0;
        if (saved_.empty()) return false;
        state_ = saved_.back().state;
        if (--saved_.back().levels == 0) saved_.pop_back();
        return !saved_.empty();
    }

    void controlSequence() {
        if (pos_ >= in_.size()) return; // a lone backslash at the very end
        const char first = in_[pos_];
        if (!isLetter(first)) {
            ++pos_;
            controlSymbol(first);
            return;
        }
        const std::size_t start = pos_;
        while (pos_ < in_.size() && isLetter(in_[pos_]))
            ++pos_;
        const std::string_view word = in_.substr(start, pos_ - start);
        bool negative = false;
        if (pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        bool hasParameter = false;
        std::int64_t parameter = 0;
        while (pos_ < in_.size() && isDigit(in_[pos_])) {
            hasParameter = true;
            parameter = std::min(parameter * 10 + (in_[pos_] - '0'), kMaxParameter);
            ++pos_;
        }
        if (negative) parameter = -parameter;
        // One space ends a control word and belongs to it; any further space is text.
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
        controlWord(word, hasParameter, parameter);
    }

    void controlSymbol(char symbol) {
        switch (symbol) {
        case '\'': {
            const int high = pos_ < in_.size() ? hexValue(in_[pos_]) : -1;
            if (high < 0) break; // a truncated escape: nothing to decode
            ++pos_;
            const int low = pos_ < in_.size() ? hexValue(in_[pos_]) : -1;
            if (low < 0) break;
            ++pos_;
            character(fromCp1252(static_cast<unsigned char>(high * 16 + low)));
            return;
        }
        case '\\':
        case '{':
        case '}':
            character(static_cast<unsigned char>(symbol));
            return;
        case '~':
            character(0x00A0); // no-break space
            return;
        case '_':
            character(0x2011); // no-break hyphen
            return;
        case '*':
            state_.skipped = true;
            return;
        case '\r':
        case '\n':
            // A backslash ending a line of the file is an old way of writing \par.
            if (!consumeFallback() && !state_.skipped) emitParagraph();
            return;
        default: // \- (optional hyphen) and the index and formula symbols carry no text
            break;
        }
        consumeFallback();
    }

    void controlWord(std::string_view word, bool hasParameter, std::int64_t parameter) {
        if (word == "bin") {
            // Binary data: the parameter counts bytes that are never text, whatever they hold.
            if (hasParameter && parameter > 0)
                pos_ += std::min(static_cast<std::size_t>(parameter), in_.size() - pos_);
            consumeFallback();
            return;
        }
        if (consumeFallback()) return;
        if (word == "uc") {
            if (hasParameter) state_.unicodeSkip = std::max<std::int64_t>(parameter, 0);
        } else if (word == "u") {
            if (!hasParameter) return;
            // N is a signed 16-bit number; negative values stand for the upper half of the range.
            const std::int64_t unit = parameter < 0 ? parameter + 0x10000 : parameter;
            if (!state_.skipped)
                emit(unit >= 0 && unit <= 0x10FFFF ? static_cast<char32_t>(unit) : kReplacementChar);
            fallbackLeft_ = state_.unicodeSkip;
        } else if (std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), word) !=
                   kSkippedDestinations.end()) {
            state_.skipped = true;
        } else if (state_.skipped) {
            return;
        } else if (word == "par" || word == "sect") {
            emitParagraph();
        } else if (word == "line") {
            emit(U'\r');
            emit(U'\n');
        } else {
            for (const SymbolWord& symbol : kSymbolWords)
                if (symbol.word == word) emit(symbol.character);
        }
    }

    // One character of the body: a fallback for the last \uN, part of a skipped destination, or text.
    void character(char32_t cp) {
        if (consumeFallback() || state_.skipped) return;
        emit(cp);
    }

    bool consumeFallback() {
        if (fallbackLeft_ == 0) return false;
        --fallbackLeft_;
        return true;
    }

    // Surrogate halves arrive as two \uN escapes and are joined here; a half without its partner
    // becomes U+FFFD.
    void emit(char32_t cp) {
        if (highSurrogate_ != 0) {
            const char32_t high = highSurrogate_;
            highSurrogate_ = 0;
            if (cp >= 0xDC00 && cp <= 0xDFFF) {
                appendUtf8(out_, 0x10000 + ((high - 0xD800) << 10) + (cp - 0xDC00));
                return;
            }
            appendUtf8(out_, kReplacementChar);
        }
        if (cp >= 0xD800 && cp <= 0xDBFF)
            highSurrogate_ = cp;
        else
            appendUtf8(out_, cp);
    }

    void flushSurrogate() {
        if (highSurrogate_ == 0) return;
        highSurrogate_ = 0;
        appendUtf8(out_, kReplacementChar);
    }

    void emitParagraph() {
        emit(U'\r');
        emit(U'\n');
        paragraphEnd_ = out_.size();
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    GroupState state_;
    std::vector<SavedStates> saved_;
    std::int64_t fallbackLeft_ = 0;
    char32_t highSurrogate_ = 0;
    std::string out_;
    std::size_t paragraphEnd_ = std::string::npos;
};

constexpr std::string_view kDocumentStart =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f1\\froman\\fcharset2 "
    "Symbol;}{\\f2\\fswiss MS Sans Serif;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;}\r\n"
    "\\deflang1033\\pard\\plain\\f2\\fs20\\b ";
constexpr std::string_view kDocumentEnd = "\r\n\\par }\r\n";

// \uN takes a signed 16-bit N; '?' is the fallback shown by readers that do not know \u.
void appendUnicodeEscape(std::string& out, char32_t unit) {
    const long n = unit > 0x7FFF ? static_cast<long>(unit) - 0x10000 : static_cast<long>(unit);
    out += "\\u";
    out += std::to_string(n);
    out += '?';
}

} // namespace

std::string rtfToText(std::string_view document) {
    if (document.starts_with("\xEF\xBB\xBF")) document.remove_prefix(3); // byte-order mark of some editors
    if (!document.starts_with("{\\rtf")) return plainText(document);
    return Reader(document).run();
}

std::string textToRtf(std::string_view text) {
    std::string out(kDocumentStart);
    out.reserve(kDocumentStart.size() + text.size() * 2 + kDocumentEnd.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text.substr(pos, 2) == "\r\n") {
            out += "\\par\r\n"; // the CR LF only breaks the file's line; the reader ignores it
            pos += 2;
            continue;
        }
        char32_t cp = 0;
        if (!nextUtf8(text, pos, cp)) cp = kReplacementChar;
        if (cp == '\\' || cp == '{' || cp == '}') {
            out += '\\';
            out += static_cast<char>(cp);
        } else if (cp == '\t') {
            out += "\\tab ";
        } else if (cp >= 0x20 && cp < 0x7F) {
            out += static_cast<char>(cp);
        } else if (cp < 0x10000) {
            // Lone CR, lone LF and other control characters too, so that they come back as they were.
            appendUnicodeEscape(out, cp);
        } else {
            appendUnicodeEscape(out, 0xD800 + ((cp - 0x10000) >> 10));
            appendUnicodeEscape(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    out += kDocumentEnd;
    return out;
}

} // namespace squeakrun
