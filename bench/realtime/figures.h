// The figures of one real-time run, by name, and how they are printed against their goals. A run
// writes them as "=figure NAME VALUE" lines too, so a parent process can collect several runs and
// print their medians.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace squeakrun::realtime {

class Figures {
  public:
    void set(const std::string& name, double value) { values_[name] = value; }
    bool has(const std::string& name) const { return values_.count(name) > 0; }
    double get(const std::string& name) const;

    void write(std::FILE* out) const;
    // Takes one "=figure" line; false for any other line.
    bool read(const char* line);

    const std::map<std::string, double>& values() const { return values_; }

  private:
    std::map<std::string, double> values_;
};

// The nearest-rank percentile (0 < p <= 100; 100 is the maximum) of the samples, 0 when there are none.
double percentile(std::vector<std::int64_t> samples, double p);

// Each figure's median over the runs that have it (a timer's expected count only when every run
// had that timer running throughout).
Figures median(const std::vector<Figures>& runs);

// The report: each measured figure with its goal and PASS or MISS.
void print(const Figures& f, std::FILE* out);
// Our CPU beside the floor's (a bare widget driving two boxes) and the peer's (another two-player game
// driven the same way), each measured right after our run on the same display.
void printBeside(const Figures& f, std::FILE* out);

} // namespace squeakrun::realtime
