#include "qt/key_bindings.h"

#include "qt/qt_platform.h"
#include "rules/state.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include <algorithm>
#include <cstdio>
#include <memory>

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon.h>

namespace squeakrun::qt {

namespace {

struct ActionName {
    const char* word;
    const char* caption;
};
constexpr std::array<ActionName, kActionCount> kActionNames{{
    {"up", "Up"},
    {"down", "Down"},
    {"left", "Left"},
    {"right", "Right"},
    {"stop", "Stop / leave a station"},
    {"select", "Select next device"},
    {"drop", "Drop device"},
}};

// The places of the US letters on a PC keyboard, as X and Wayland number them (the kernel's key code
// plus 8): W S A D Q R E for player 1 and I K J L U P O for player 2.
constexpr std::array<std::array<ScanCode, kActionCount>, 2> kDefaultKeys{{
    {25, 39, 38, 40, 24, 27, 26},
    {31, 45, 44, 46, 30, 33, 32},
}};

// Bindings kept by an older game are read only when their version is this one; a later change of
// the defaults raises it.
constexpr int kBindingsVersion = 1;

QString settingsKey(Seat seat) {
    return QStringLiteral("controls/player%1/%2")
        .arg(seat.player + 1)
        .arg(QLatin1String(actionWord(seat.action)));
}

// Typed text as the key box would take it: printable characters only (a text box takes no control
// characters as text).
std::vector<std::string> typedCharacters(const QString& text) {
    std::vector<std::string> out;
    for (qsizetype i = 0; i < text.size();) {
        const char32_t cp = text.at(i).isHighSurrogate() && i + 1 < text.size()
                                ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                                : text.at(i).unicode();
        const qsizetype n = cp > 0xFFFF ? 2 : 1;
        if (QChar::isPrint(cp)) out.push_back(text.mid(i, n).toStdString());
        i += n;
    }
    return out;
}

bool isCommandLetter(const std::string& typed) {
    if (typed.size() != 1) return false;
    const char upper = static_cast<char>(QChar::toUpper(static_cast<char32_t>(typed[0])));
    return std::ranges::any_of(
        kPlayers, [upper](const PlayerRow& row) { return row.keys.find(upper) != std::string_view::npos; });
}

// A character as a key's caption: letters in capitals, as printed on the keys.
QString captionOf(char32_t cp) {
    if (cp == 0 || !QChar::isPrint(cp) || QChar::isSpace(cp)) return {};
    return QString::fromUcs4(&cp, 1).toUpper();
}

// What the X server's current keyboard map has on the key (first level), or nothing off X11.
QString x11Label(ScanCode code) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c) return {};
    const xcb_setup_t* setup = xcb_get_setup(c);
    if (code < setup->min_keycode || code > setup->max_keycode) return {};
    const std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> reply(
        xcb_get_keyboard_mapping_reply(c, xcb_get_keyboard_mapping(c, static_cast<xcb_keycode_t>(code), 1),
                                       nullptr),
        &std::free);
    if (!reply || reply->keysyms_per_keycode == 0) return {};
    const xcb_keysym_t sym = xcb_get_keyboard_mapping_keysyms(reply.get())[0];
    if (sym == 0) return {};
    if (QString caption = captionOf(xkb_keysym_to_utf32(sym)); !caption.isEmpty()) return caption;
    char name[64];
    if (xkb_keysym_get_name(sym, name, sizeof name) <= 0) return {};
    return QString::fromLatin1(name).replace(QLatin1Char('_'), QLatin1Char(' '));
}

} // namespace

const char* actionWord(Action action) {
    return kActionNames[static_cast<std::size_t>(action)].word;
}

QString actionCaption(Action action) {
    return QString::fromLatin1(kActionNames[static_cast<std::size_t>(action)].caption);
}

QString seatCaption(Seat seat) {
    return QStringLiteral("player %1's %2").arg(seat.player + 1).arg(QLatin1String(actionWord(seat.action)));
}

char commandLetter(Seat seat) {
    return kPlayers[static_cast<std::size_t>(seat.player)].keys[static_cast<std::size_t>(seat.action)];
}

KeyBindings::KeyBindings() : keys_(kDefaultKeys) {}

ScanCode KeyBindings::key(Seat seat) const {
    return keys_[static_cast<std::size_t>(seat.player)][static_cast<std::size_t>(seat.action)];
}

std::optional<Seat> KeyBindings::boundTo(ScanCode code) const {
    for (int player = 0; player < 2; ++player)
        for (Action action : kActions)
            if (key({player, action}) == code) return Seat{player, action};
    return std::nullopt;
}

std::optional<Seat> KeyBindings::bind(Seat seat, ScanCode code) {
    if (const auto holder = boundTo(code); holder && !(*holder == seat)) return holder;
    keys_[static_cast<std::size_t>(seat.player)][static_cast<std::size_t>(seat.action)] = code;
    return std::nullopt;
}

void KeyBindings::restoreDefaults() {
    keys_ = kDefaultKeys;
}

std::vector<std::string> KeyBindings::typed(const QKeyEvent& event) const {
    const ScanCode code = event.nativeScanCode();
    std::vector<std::string> out = typedCharacters(event.text());
    if (code == 0) return out;
    if (const auto seat = boundTo(code))
        return {
            std::string(1, static_cast<char>(QChar::toLower(static_cast<char32_t>(commandLetter(*seat)))))};
    // A key no action has still types what it types, but never a command letter: on this layout that
    // letter lies elsewhere, and the players did not bind it.
    std::erase_if(out, isCommandLetter);
    return out;
}

QString KeyBindings::label(ScanCode code) const {
    if (QString x11 = x11Label(code); !x11.isEmpty()) return x11;
    if (const auto it = learned_.find(code); it != learned_.end()) return *it;
    for (int player = 0; player < 2; ++player)
        for (std::size_t i = 0; i < kActionCount; ++i)
            if (kDefaultKeys[static_cast<std::size_t>(player)][i] == code)
                return QString(QLatin1Char(kPlayers[static_cast<std::size_t>(player)].keys[i]));
    return QStringLiteral("Key %1").arg(code);
}

std::string KeyBindings::keyName(char letter) const {
    for (int player = 0; player < 2; ++player)
        for (Action action : kActions)
            if (commandLetter({player, action}) == letter) return label({player, action}).toStdString();
    return std::string(1, letter);
}

void KeyBindings::learnLabel(const QKeyEvent& event) {
    if (event.nativeScanCode() == 0) return;
    QString caption = event.text().size() == 1 ? captionOf(event.text().at(0).unicode()) : QString();
    if (caption.isEmpty()) caption = QKeySequence(event.key()).toString(QKeySequence::NativeText);
    if (!caption.isEmpty()) learned_.insert(event.nativeScanCode(), caption);
}

KeyBindings KeyBindings::remembered() {
    const QSettings settings = playersChoices();
    KeyBindings kept;
    if (settings.value(QStringLiteral("controls/version")).toInt() != kBindingsVersion) return kept;
    std::vector<ScanCode> seen;
    for (int player = 0; player < 2; ++player)
        for (Action action : kActions) {
            bool ok = false;
            const uint code = settings.value(settingsKey({player, action})).toUInt(&ok);
            // Every action needs a key of its own.
            if (!ok || code == 0 || std::ranges::find(seen, code) != seen.end()) {
                std::fprintf(stderr,
                             "squeakrun: the keys kept in %s cannot be read (%s); the default keys are in "
                             "force until you choose yours again\n",
                             qPrintable(settings.fileName()), qPrintable(settingsKey({player, action})));
                return KeyBindings();
            }
            seen.push_back(code);
            kept.keys_[static_cast<std::size_t>(player)][static_cast<std::size_t>(action)] = code;
        }
    return kept;
}

void KeyBindings::remember() const {
    QSettings settings = playersChoices();
    settings.setValue(QStringLiteral("controls/version"), kBindingsVersion);
    for (int player = 0; player < 2; ++player)
        for (Action action : kActions)
            settings.setValue(settingsKey({player, action}), key({player, action}));
}

} // namespace squeakrun::qt
