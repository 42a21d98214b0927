#include "bench_support.h"

#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unistd.h>

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size())));
    return v[std::min(v.size() - 1, rank == 0 ? 0 : rank - 1)];
}

std::optional<ProcessSample> ReadProcessSample(qint64 pid, double at_s) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!stat.open(QIODevice::ReadOnly) || !status.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray line = stat.readAll();
    // Fields after the command name in brackets: state is field 3, utime 14, stime 15.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return std::nullopt;
    const double ticks = static_cast<double>(::sysconf(_SC_CLK_TCK));
    ProcessSample s{at_s, (fields[11].toDouble() + fields[12].toDouble()) / ticks, 0, 0};
    // Lines such as "VmRSS:     46684 kB".
    auto kb = [](const QByteArray& l) { return l.mid(l.indexOf(':') + 1).trimmed().split(' ').first().toDouble(); };
    for (const QByteArray& l : status.readAll().split('\n'))
        if (l.startsWith("VmRSS:"))
            s.rss_kb = kb(l);
        else if (l.startsWith("RssAnon:"))
            s.anon_kb = kb(l);
    return s;
}

Resources Summarise(const std::vector<ProcessSample>& all) {
    Resources r;
    // The first minute is start-up: fonts, skin, library, first frames.
    std::vector<ProcessSample> v;
    for (const ProcessSample& s : all)
        if (s.at_s >= all.front().at_s + 60) v.push_back(s);
    if (v.size() < 2) v = all;
    r.samples = v.size();
    r.cpu_percent = (v.back().cpu_s - v.front().cpu_s) / (v.back().at_s - v.front().at_s) * 100.0;
    r.rss_first_kb = v.front().rss_kb;
    r.rss_last_kb = v.back().rss_kb;
    for (const ProcessSample& s : v) r.rss_max_kb = std::max(r.rss_max_kb, s.rss_kb);
    double mx = 0, my = 0;
    for (const ProcessSample& s : v) {
        mx += s.at_s / 60.0;
        my += s.rss_kb;
    }
    mx /= static_cast<double>(v.size());
    my /= static_cast<double>(v.size());
    double sxy = 0, sxx = 0;
    for (const ProcessSample& s : v) {
        sxy += (s.at_s / 60.0 - mx) * (s.rss_kb - my);
        sxx += (s.at_s / 60.0 - mx) * (s.at_s / 60.0 - mx);
    }
    r.growth_kb_per_min = sxx > 0 ? sxy / sxx : 0;
    return r;
}

void PrintResources(const char* what, const Resources& r) {
    std::printf("%s\n", what);
    std::printf("  CPU: %.3f %% of one core (%zu samples)\n", r.cpu_percent, r.samples);
    std::printf("  resident memory: %.0f kB after the first minute, %.0f kB at the end, %.0f kB at most;"
                " growth %+.1f kB per minute\n",
                r.rss_first_kb, r.rss_last_kb, r.rss_max_kb, r.growth_kb_per_min);
}

QProcessEnvironment ConsoleEnvironment(const QString& runtime_dir, const QString& data_dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime_dir);
    env.insert("XDG_DATA_HOME", data_dir);
    return env;
}

void FrameTimes::Add(qint64 ns) {
    std::lock_guard<std::mutex> lock(mutex_);
    ns_.push_back(ns);
}

double FrameTimes::WorstLatenessMs(qint64 from, qint64 to) const {
    std::lock_guard<std::mutex> lock(mutex_);
    double worst = 0;
    for (std::size_t i = 1; i < ns_.size(); ++i)
        if (ns_[i] >= from && ns_[i] < to)
            worst = std::max(worst, static_cast<double>(ns_[i] - ns_[i - 1]) / 1e6 - 500.0);
    return worst;
}

std::size_t FrameTimes::Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return ns_.size();
}
