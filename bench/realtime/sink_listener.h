// What reaches a sound server's null sink, and when: parec records the sink's monitor on a thread of
// its own, and every sound that begins after a stretch of silence is noted on the monotonic clock.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace squeakrun::realtime {

class SinkListener {
  public:
    // Records `source` (the null sink's monitor) from now on; false when parec cannot be started.
    bool start(const std::string& source = "test.monitor");
    // Stops recording and returns when each sound began, in ns of std::chrono::steady_clock.
    std::vector<std::int64_t> stop();
    ~SinkListener() { stop(); }

  private:
    void listen();

    std::FILE* parec_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::vector<std::int64_t> onsets_;
};

} // namespace squeakrun::realtime
