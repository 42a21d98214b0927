// What the benchmarks share: percentiles, and CPU and resident memory of a
// running process read from /proc (Linux), summarised after its first
// minute.
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <mutex>
#include <optional>
#include <vector>

double Percentile(std::vector<double> v, double p);

struct ProcessSample {
    double at_s;
    double cpu_s;  // user + system time so far
    double rss_kb;
    double anon_kb;  // of which anonymous: the heap and stacks, not mapped files
};

std::optional<ProcessSample> ReadProcessSample(qint64 pid, double at_s);

struct Resources {
    double cpu_percent = 0;
    double rss_first_kb = 0, rss_last_kb = 0, rss_max_kb = 0;
    double growth_kb_per_min = 0;
    std::size_t samples = 0;
};

// CPU and memory after the first minute (start-up: fonts, skin, library,
// first frames); memory growth as the least-squares slope.
Resources Summarise(const std::vector<ProcessSample>& all);
void PrintResources(const char* what, const Resources& r);

// The environment of a console the benchmark starts: offscreen, with a lock
// folder of its own (`runtime_dir`), so another console on this machine
// does not keep it from starting, and with its roast logs in `data_dir`.
QProcessEnvironment ConsoleEnvironment(const QString& runtime_dir, const QString& data_dir);

// Status frames as the roaster receives them, on its own thread: when each
// came, and how late the worst of them was.
class FrameTimes {
public:
    void Add(qint64 ns);
    // The worst interval beyond 500 ms among those that end in [from, to).
    double WorstLatenessMs(qint64 from, qint64 to) const;
    std::size_t Count() const;

private:
    mutable std::mutex mutex_;
    std::vector<qint64> ns_;
};
