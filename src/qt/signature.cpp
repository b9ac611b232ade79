#include "qt/signature.h"

namespace squeakrun::qt {

void Signature::add(const Control& c) {
    const float place[] = {c.left, c.top, c.width, c.height};
    std::uint64_t w[2];
    std::memcpy(w, place, sizeof w);
    word(w[0]);
    word(w[1]);
    word(std::uint64_t(std::uint32_t(c.listIndex)) | std::uint64_t{c.visible} << 32 |
         std::uint64_t{c.enabled} << 33 | std::uint64_t{c.focused} << 34 |
         std::uint64_t{c.lines.size()} << 40 | std::uint64_t{c.items.size()} << 52);
    text(c.picture);
    text(c.caption);
    text(c.text);
    for (const std::string& line : c.lines)
        text(line);
    for (const std::string& item : c.items)
        text(item);
}

namespace {
// A small window's controls, while it is open.
template <class Window, std::size_t N>
void addOpen(Signature& h, const Window& w, const WindowControl<Window> (&controls)[N]) {
    if (!w.visible) return;
    for (const WindowControl<Window>& c : controls)
        h.add(w.*c.member);
}
} // namespace

std::uint64_t shownSignature(const GameState& g) {
    Signature h;
    // Everything of the main window but the key box, which only catches keys.
    for (const MainControl& c : kMainControls)
        if (c.shown != Shown::Hidden) h.add(g.window.*c.member);
    // The small windows, whatever they show while they are open.
    const bool open[] = {g.about.visible, g.settings.visible, g.scores.visible};
    h.bytes(open, sizeof open);
    addOpen(h, g.about, kAboutControls);
    addOpen(h, g.settings, kSettingsControls);
    addOpen(h, g.scores, kScoresControls);
    return h.value;
}

} // namespace squeakrun::qt
