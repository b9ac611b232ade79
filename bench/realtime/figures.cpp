#include "figures.h"

#include "rules/ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace squeakrun::realtime {

namespace {

const char* verdict(bool met) {
    return met ? "PASS" : "MISS";
}

std::string timer(int i) {
    return "Timer" + std::to_string(i + 1);
}

} // namespace

double Figures::get(const std::string& name) const {
    const auto it = values_.find(name);
    return it == values_.end() ? 0.0 : it->second;
}

void Figures::write(std::FILE* out) const {
    for (const auto& [name, value] : values_)
        std::fprintf(out, "=figure %s %.9g\n", name.c_str(), value);
}

bool Figures::read(const char* line) {
    static constexpr char kTag[] = "=figure ";
    if (std::strncmp(line, kTag, sizeof kTag - 1) != 0) return false;
    const char* name = line + sizeof kTag - 1;
    const char* space = std::strchr(name, ' ');
    if (!space) return false;
    values_[std::string(name, space)] = std::strtod(space + 1, nullptr);
    return true;
}

double percentile(std::vector<std::int64_t> samples, double p) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(samples.size())));
    return static_cast<double>(samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1]);
}

Figures median(const std::vector<Figures>& runs) {
    std::map<std::string, std::vector<double>> byName;
    for (const Figures& f : runs)
        for (const auto& [name, value] : f.values())
            byName[name].push_back(value);
    Figures m;
    for (auto& [name, v] : byName) {
        if (name.rfind("expected.", 0) == 0 && v.size() != runs.size()) continue;
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        m.set(name, n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
    }
    return m;
}

void print(const Figures& f, std::FILE* out) {
    // "computer" is 0 when people drive both cars, else 1 + the skill of the computer driving player 2.
    static const char* const kDrivers[] = {"", ", player 2's by the computer at Easy",
                                           ", player 2's by the computer at Average",
                                           ", player 2's by the computer at Hard"};
    std::fprintf(
        out,
        "%.1f s of both cars driving%s, window at scale %g (%s), %g keys (%g with nothing to show at "
        "once), %g games "
        "restarted, %g frames shown\n",
        f.get("seconds"), kDrivers[static_cast<int>(f.get("computer")) & 3], f.get("scale"),
        f.get("qpa") > 0 ? "xcb" : "offscreen", f.get("keys"), f.get("keys.no_effect"), f.get("restarts"),
        f.get("frames"));

    const double differ = f.get("screen.differ");
    if (differ == 0)
        std::fprintf(out, "   the screen at the end matches the content painted afresh\n");
    else if (differ > 0)
        std::fprintf(out, "   the screen at the end differs from the content painted afresh in %g pixels\n",
                     differ);
    else
        std::fprintf(out, "   the screen at the end could not be read\n");
    std::fprintf(out, "1. ticks over the window          (goal: within one of the expected count)\n");
    for (int i = 0; i < 8; ++i) {
        const double ticks = f.get("ticks." + timer(i));
        const int interval = static_cast<int>(f.get("interval." + timer(i)));
        if (f.has("expected." + timer(i))) {
            const double expected = f.get("expected." + timer(i));
            const double diff = ticks - expected;
            std::fprintf(out, "   %-6s %4d ms  %6g of %-7.1f %+5.1f  %s\n", timer(i).c_str(), interval, ticks,
                         expected, diff, verdict(std::fabs(diff) <= 1));
        } else {
            std::fprintf(out, "   %-6s %4d ms  %6g            (not running the whole time)\n",
                         timer(i).c_str(), interval, ticks);
        }
    }
    const double period = f.has("frame.period") ? f.get("frame.period") : 1000.0 / 60;
    // A change between the cars' steps is shown with the next step.
    const double shownGoal = std::max(period, static_cast<double>(kMovementTickMs)) + 1;
    const double shownP99 = f.get("shown.p99");
    std::fprintf(
        out, "2. tick due to frame shown, ms    median %.3f  p99 %.3f  max %.3f   goal p99 < %.1f  %s\n",
        f.get("shown.median"), shownP99, f.get("shown.max"), shownGoal, verdict(shownP99 < shownGoal));
    std::fprintf(out,
                 "   (the cars' next step or one frame of %.1f ms, the later, plus 1 ms to paint it; tick\n"
                 "   handlers started late by median %.3f p99 %.3f max %.3f)\n",
                 period, f.get("late.median"), f.get("late.p99"), f.get("late.max"));
    const double keyP99 = f.get("key.p99");
    std::fprintf(out, "3. key to finished repaint, ms    p50 %.3f  p99 %.3f  (%g keys)   goal p99 < 5   %s\n",
                 f.get("key.p50"), keyP99, f.get("key.n"), verdict(f.get("key.n") > 0 && keyP99 < 5));
    if (f.has("pad.n")) {
        // A pad is read on a timer of its own, so its push waits for the next look at the pads.
        const double padP50 = f.get("pad.p50"), padP99 = f.get("pad.p99");
        const bool within =
            f.get("pad.n") > 0 && padP50 - f.get("key.p50") <= period && padP99 - keyP99 <= period;
        std::fprintf(out, "   pad push to finished repaint   p50 %.3f  p99 %.3f  (%g of %g pushes)%s\n",
                     padP50, padP99, f.get("pad.n"), f.get("pad.pushes"),
                     f.get("pad.read_unplugged") > 0 ? " (still read once unplugged)" : "");
        std::fprintf(out,
                     "   in frames of %.1f ms: key p50 %.2f p99 %.2f, pad p50 %.2f p99 %.2f"
                     "   goal pad within 1 of the key   %s\n",
                     period, f.get("key.p50") / period, keyP99 / period, padP50 / period, padP99 / period,
                     verdict(within));
    }
    const double frame = f.get("frame3.median");
    std::fprintf(out,
                 "4. one frame at scale 3, ms       median %.3f of 500               goal < 1       %s\n",
                 frame, verdict(frame < 1));
    std::fprintf(out,
                 "   (render(3) into a new image:   median %.3f; on-screen paints: median %.3f p99 %.3f)\n",
                 f.get("render3.median"), f.get("paint.median"), f.get("paint.p99"));
    const double cpu = f.get("cpu.percent");
    std::fprintf(out,
                 "5. CPU while driving, %% of a core %.3f                             goal < 3       %s\n",
                 cpu, verdict(cpu < 3));
    // Where it goes: each thread's share and its wake-ups a second.
    for (const auto& [name, value] : f.values())
        if (name.starts_with("cpu.thread.") && value >= 0.005)
            std::fprintf(out, "     thread %-16s %.3f %%, %.0f wake-ups and %.0f writes a second\n",
                         name.c_str() + 11, value, f.get("wakes.thread." + name.substr(11)),
                         f.get("writes.thread." + name.substr(11)));
    const double waiting = f.get("cpu.waiting"), paused = f.get("cpu.paused");
    std::fprintf(out,
                 "   CPU waiting for start, %%       %.3f                             goal < 0.1     %s\n",
                 waiting, verdict(f.has("cpu.waiting") && waiting < 0.1));
    std::fprintf(out,
                 "   CPU paused, %%                  %.3f                             goal < 0.1     %s%s\n",
                 paused, verdict(f.has("cpu.paused") && paused < 0.1),
                 f.get("paused.ok") > 0 ? "" : " (the game did not pause)");
    if (f.has("sound.p95")) {
        const double p95 = f.get("sound.p95");
        std::fprintf(out,
                     "   cue to first sound at the sink, ms  p50 %.1f  p95 %.1f  max %.1f  (%g of %g cues)"
                     "   goal p95 < 60   %s\n",
                     f.get("sound.p50"), p95, f.get("sound.max"), f.get("sound.n"), f.get("sound.cues"),
                     verdict(p95 < 60));
    } else {
        std::fprintf(out,
                     "   cue to first sound at the sink   no sound server with a null sink: not measured\n");
    }
    const double rss = f.get("rss.peak_mb");
    std::fprintf(out,
                 "   peak resident memory, MB       %.1f                              goal < 60      %s\n",
                 rss, verdict(rss > 0 && rss < 60));
    // The recording grows with the keys: a minute of this drive is some 300 of them.
    const double recording = f.get("recording.kb") * 60 / std::max(f.get("seconds"), 1.0);
    std::fprintf(out,
                 "   recording, KB a minute         %.1f                              goal < 100     %s\n",
                 recording, verdict(recording < 100));
}

void printBeside(const Figures& f, std::FILE* out) {
    if (!f.has("floor.cpu.percent")) {
        std::fprintf(out, "6. CPU beside the floor          the floor could not be measured\n");
        return;
    }
    const double ratio = f.get("floor.ratio");
    std::fprintf(
        out,
        "6. CPU beside the floor, %% of a core: ours %.3f, floor %.3f; ratio %.2f   goal ratio <= 1   %s\n",
        f.get("cpu.percent"), f.get("floor.cpu.percent"), ratio, verdict(ratio > 0 && ratio <= 1));
    if (f.has("peer.cpu.percent"))
        std::fprintf(out, "   beside the peer: %.3f; ratio %.2f\n", f.get("peer.cpu.percent"),
                     f.get("peer.ratio"));
    // What each program's own thread does a second: each frame it sends the window system is a write.
    std::fprintf(
        out,
        "   (the drawing thread, a second: ours %.0f wake-ups and %.0f writes, the floor's %.0f and %.0f",
        f.get("wakes.thread.main"), f.get("writes.thread.main"), f.get("floor.main.wakes"),
        f.get("floor.main.writes"));
    if (f.has("peer.main.wakes"))
        std::fprintf(out, ", the peer's %.0f and %.0f", f.get("peer.main.wakes"), f.get("peer.main.writes"));
    std::fprintf(out, ")\n");
}

} // namespace squeakrun::realtime
