// What this process's threads have cost so far, read from the scheduler's own counts: the game's run
// and the floor's are measured alike.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace squeakrun::realtime {

// CPU time (ns), how often the scheduler ran them and their write calls (a frame sent to the window
// system is one), for the threads of this process by name: the process's first thread is "main", the
// others go by their own names (the sound thread "sound"). The wake-ups and writes say where the CPU
// goes far more steadily than the CPU itself.
struct ThreadUse {
    std::int64_t nanos = 0, runs = 0, writes = 0;
};
std::map<std::string, ThreadUse> threadUse();

// CPU time of every thread of this process so far, those that have ended included (ns): Qt's and the
// window system's helper threads count as much as the program's own.
std::int64_t cpuNanos();

} // namespace squeakrun::realtime
