// ProgressPacer: how often a run's progress is worth painting. A paint of the status bar costs
// about as much as converting a small file, and no one reads more than a frame's worth: the
// first and the last file are always painted, and so is a file big enough that its conversion
// alone may outlast a frame; any other once 1/30 s has passed since the last paint.
#pragma once

#include <cstdint>
#include <functional>

class ProgressPacer {
public:
    // Seconds from any fixed start.
    using Clock = std::function<double()>;
    static constexpr double kInterval = 1.0 / 30;
    // From this size on, a file's conversion may take a frame or more (a few milliseconds a
    // megabyte under Wine): left unpainted, the previous file's name would stand for it.
    static constexpr uint64_t kLongFileBytes = uint64_t(1) << 20;

    // The clock is the system's steady clock unless a test gives its own.
    explicit ProgressPacer(Clock clock = nullptr);

    // Asked for every file of a run, in order, with the file's size: true when this file's
    // progress is to be painted now.
    bool PaintNow(int position, int total, uint64_t bytes) const;
    // The progress has been painted, here or anywhere else (before a box).
    void Painted();

private:
    Clock clock_;
    double lastPaint_ = 0;
};
