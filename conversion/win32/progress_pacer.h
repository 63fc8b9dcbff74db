// ProgressPacer: how often a run's progress is worth painting. A paint of the status bar costs
// about as much as converting a small file, and no one reads more than a frame's worth: the
// first and the last file are always painted, any other once 1/30 s has passed since the last.
#pragma once

#include <functional>

class ProgressPacer {
public:
    // Seconds from any fixed start.
    using Clock = std::function<double()>;
    static constexpr double kInterval = 1.0 / 30;

    // The clock is the system's steady clock unless a test gives its own.
    explicit ProgressPacer(Clock clock = nullptr);

    // Asked for every file of a run, in order: true when this file's progress is to be
    // painted now.
    bool PaintNow(int position, int total) const;
    // The progress has been painted, here or anywhere else (before a box).
    void Painted();

private:
    Clock clock_;
    double lastPaint_ = 0;
};
