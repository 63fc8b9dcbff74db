// The pace of a run's progress paints, over the steady clock.
#include "conversion/win32/progress_pacer.h"

#include <chrono>

namespace {

double SteadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

}  // namespace

ProgressPacer::ProgressPacer(Clock clock) : clock_(clock ? std::move(clock) : SteadySeconds) {}

bool ProgressPacer::PaintNow(int position, int total, uint64_t bytes) const
{
    return position <= 1 || position >= total || bytes >= kLongFileBytes ||
           clock_() - lastPaint_ >= kInterval;
}

void ProgressPacer::Painted()
{
    lastPaint_ = clock_();
}
