#pragma once

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace BenchTiming {

// The fastest of a few rounds, in milliseconds: the round least disturbed by
// the rest of the machine.
inline double bestMilliseconds(const std::function<void()> &work, int rounds = 3)
{
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

inline double milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// The rounds of one figure: the best counts, the rest shows how steady the
// machine was.
struct Spread
{
    std::vector<double> rounds;

    double min() const { return rounds.empty() ? 0 : *std::min_element(rounds.begin(), rounds.end()); }
    double max() const { return rounds.empty() ? 0 : *std::max_element(rounds.begin(), rounds.end()); }
    double median() const
    {
        if (rounds.empty())
            return 0;
        std::vector<double> sorted = rounds;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
};

// Alternates the works round by round (floor, program, floor, program...),
// so that a machine busy with other work slows them alike. Each work gets
// one untimed round first unless warm is false.
inline std::vector<Spread> interleaved(const std::vector<std::function<void()>> &works, int rounds, bool warm = true)
{
    if (warm) {
        for (const auto &work : works)
            work();
    }
    std::vector<Spread> spreads(works.size());
    for (int round = 0; round < rounds; ++round) {
        for (std::size_t w = 0; w < works.size(); ++w)
            spreads[w].rounds.push_back(milliseconds(works[w]));
    }
    return spreads;
}

// One figure as three lines, "program", "floor" and "ratio", with the
// spread of the rounds and the target beside the ratio. Ratios are of the
// best rounds.
inline void printFigure(const char *figure, const Spread &program, const char *floorName, const Spread &floor,
                        const char *target)
{
    std::printf("%s\n", figure);
    std::printf("  program %10.2f ms   min %.2f / median %.2f / max %.2f over %d rounds\n", program.min(),
                program.min(), program.median(), program.max(), int(program.rounds.size()));
    std::printf("  floor   %10.2f ms   min %.2f / median %.2f / max %.2f over %d rounds: %s\n", floor.min(),
                floor.min(), floor.median(), floor.max(), int(floor.rounds.size()), floorName);
    std::printf("  ratio   %10.2f x    (median %.2f x)  target %s\n", program.min() / floor.min(),
                program.median() / floor.median(), target);
}

// A figure without a floor: an absolute time against its target.
inline void printAbsolute(const char *figure, const Spread &program, const char *target)
{
    std::printf("%s\n", figure);
    std::printf("  program %10.2f ms   min %.2f / median %.2f / max %.2f over %d rounds   target %s\n",
                program.min(), program.min(), program.median(), program.max(), int(program.rounds.size()), target);
}

} // namespace BenchTiming
