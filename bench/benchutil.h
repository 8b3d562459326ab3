#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace zf::bench {

// Median wall time of runs of f in milliseconds; setup runs before each run and
// is not timed.
inline double medianMs(int runs, const std::function<void()>& f,
                       const std::function<void()>& setup = {}) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        const auto a = std::chrono::steady_clock::now();
        f();
        const auto b = std::chrono::steady_clock::now();
        t.push_back(std::chrono::duration<double, std::milli>(b - a).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// One line of the report: the figure, its ratio to the reference and the target.
inline bool report(const char* what, double ms, double referenceMs, double maxRatio) {
    const double ratio = ms / referenceMs;
    const bool ok = ratio <= maxRatio;
    std::printf("%-44s %9.3f ms  %6.2f x copy  (target <= %.0f x)  %s\n", what, ms, ratio, maxRatio,
                ok ? "ok" : "OVER");
    return ok;
}

} // namespace zf::bench
