#include "net/protocol.h"

#include <algorithm>
#include <cctype>

namespace squeakrun {

namespace {

enum class Tag : std::uint8_t { Hello = 1, HostSetup, Keys, Event, Answer, Signature, Quit };

// Little-endian fields, strings with their length in front.
struct Writer {
    std::vector<std::uint8_t> out;
    template <class T> void number(T value) {
        for (std::size_t i = 0; i < sizeof(T); ++i)
            out.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
    }
    void text(std::string_view s) {
        number(static_cast<std::uint16_t>(s.size()));
        out.insert(out.end(), s.begin(), s.end());
    }
};

// Reads fields until the first that does not fit; after that every read fails and `ok` stays false.
struct Reader {
    std::span<const std::uint8_t> in;
    bool ok = true;

    bool take(std::size_t n) {
        ok = ok && in.size() >= n;
        return ok;
    }
    template <class T> T number() {
        if (!take(sizeof(T))) return T{};
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i)
            v |= static_cast<std::uint64_t>(in[i]) << (8 * i);
        in = in.subspan(sizeof(T));
        return static_cast<T>(v);
    }
    std::string text(std::size_t limit) {
        const std::size_t n = number<std::uint16_t>();
        if (n > limit || !take(n)) {
            ok = false;
            return {};
        }
        std::string s(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(n));
        in = in.subspan(n);
        return s;
    }
};

std::string withoutControls(std::string_view s) {
    std::string out;
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) out += c;
    return out;
}

// Control characters out, then at most `limit` bytes, never a UTF-8 character cut in half.
std::string cleanText(std::string_view text, std::size_t limit) {
    std::string s = withoutControls(text);
    if (s.size() <= limit) return s;
    std::size_t cut = limit;
    // Step back over continuation bytes to the start of the character that would be split.
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80)
        --cut;
    return s.substr(0, cut);
}

void put(Writer& w, const Hello& m) {
    w.number(m.protocol);
    w.text(m.version);
    w.text(m.name);
}
void put(Writer& w, const HostSetup& m) {
    w.number(m.seed);
    w.text(m.difficulty);
    for (const std::string& r : m.records)
        w.text(r);
}
void put(Writer& w, const Keys& m) {
    w.number(m.frontier);
    w.number(m.lead);
    w.number(m.acked);
    w.number(m.first);
    w.number(m.events);
    w.number(static_cast<std::uint8_t>(m.keys.size()));
    for (const StampedKey& k : m.keys) {
        w.number(k.time);
        w.number(k.order);
        w.number(static_cast<std::uint8_t>(k.key));
    }
}
void put(Writer& w, const Event& m) {
    w.number(m.time);
    w.number(m.order);
    w.text(inputLine(m.input));
}
void put(Writer& w, const Answer& m) {
    w.number(m.box);
    w.number(static_cast<std::uint8_t>(m.button));
    w.text(m.text);
}
void put(Writer& w, const Signature& m) {
    w.number(m.time);
    w.number(m.value);
}
void put(Writer&, const Quit&) {}

std::optional<Message> get(Reader& r, Tag tag) {
    switch (tag) {
    case Tag::Hello: {
        Hello m;
        m.protocol = r.number<std::uint16_t>();
        m.version = withoutControls(r.text(kMaxNameBytes));
        m.name = cleanName(r.text(kMaxReliableBytes));
        return m;
    }
    case Tag::HostSetup: {
        HostSetup m;
        m.seed = r.number<std::uint64_t>();
        m.difficulty = r.text(1);
        if (m.difficulty != "1" && m.difficulty != "2" && m.difficulty != "3") return std::nullopt;
        for (std::string& record : m.records)
            record = r.text(kMaxRecordBytes);
        return m;
    }
    case Tag::Keys: {
        Keys m;
        m.frontier = r.number<std::uint32_t>();
        m.lead = r.number<std::int32_t>();
        m.acked = r.number<std::uint32_t>();
        m.first = r.number<std::uint32_t>();
        m.events = r.number<std::uint32_t>();
        const std::size_t count = r.number<std::uint8_t>();
        if (count > kMaxKeysPerPacket) return std::nullopt;
        for (std::size_t i = 0; i < count && r.ok; ++i) {
            StampedKey k;
            k.time = r.number<std::uint32_t>();
            k.order = r.number<std::uint32_t>();
            k.key = static_cast<char>(r.number<std::uint8_t>());
            if (!std::isalpha(static_cast<unsigned char>(k.key))) return std::nullopt;
            m.keys.push_back(k);
        }
        return m;
    }
    case Tag::Event: {
        Event m;
        m.time = r.number<std::uint32_t>();
        m.order = r.number<std::uint32_t>();
        const std::string line = withoutControls(r.text(kMaxLineBytes));
        const std::size_t space = line.find(' ');
        if (space == std::string::npos) return std::nullopt;
        std::string why;
        std::optional<Input> input = parseInput(std::string_view(line).substr(0, space),
                                                std::string_view(line).substr(space + 1), why);
        // Keys travel on their own channel; a name typed into the settings is a name like any other.
        if (!input || input->kind == InputKind::Key) return std::nullopt;
        if (input->kind == InputKind::Type) input->text = cleanName(input->text);
        m.input = std::move(*input);
        return m;
    }
    case Tag::Answer: {
        Answer m;
        m.box = r.number<std::uint32_t>();
        const std::uint8_t button = r.number<std::uint8_t>();
        if (button > static_cast<std::uint8_t>(Button::No)) return std::nullopt;
        m.button = static_cast<Button>(button);
        m.text = cleanLine(r.text(kMaxReliableBytes));
        return m;
    }
    case Tag::Signature: {
        Signature m;
        m.time = r.number<std::uint32_t>();
        m.value = r.number<std::uint64_t>();
        return m;
    }
    case Tag::Quit:
        return Quit{};
    }
    return std::nullopt;
}

} // namespace

Channel channelOf(const Message& message) {
    return std::holds_alternative<Keys>(message) ? Channel::Keys : Channel::Reliable;
}

std::vector<std::uint8_t> encode(const Message& message) {
    Writer w;
    w.number(static_cast<std::uint8_t>(static_cast<int>(Tag::Hello) + message.index()));
    std::visit([&](const auto& m) { put(w, m); }, message);
    return std::move(w.out);
}

std::optional<Message> decode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > kMaxReliableBytes) return std::nullopt;
    const std::uint8_t tag = bytes[0];
    if (tag < static_cast<std::uint8_t>(Tag::Hello) || tag > static_cast<std::uint8_t>(Tag::Quit))
        return std::nullopt;
    Reader r{bytes.subspan(1)};
    std::optional<Message> m = get(r, static_cast<Tag>(tag));
    // A message is exactly its fields: a short one or one with bytes left over is not ours.
    if (!r.ok || !r.in.empty()) return std::nullopt;
    return m;
}

std::string cleanName(std::string_view name) {
    return cleanText(name, kMaxNameBytes);
}

std::string cleanLine(std::string_view line) {
    return cleanText(line, kMaxLineBytes);
}

} // namespace squeakrun
