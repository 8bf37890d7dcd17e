#include "sim/line_pacer.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace zephran::sim {

LinePacer::LinePacer(unsigned baud) {
    if (baud != 0) {
        byteTime_ =
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(10.0 / baud));
    }
}

std::size_t LinePacer::Allowed(Clock::time_point now) const {
    if (!Paced()) return std::numeric_limits<std::size_t>::max();
    if (lineFree_ <= now) return kFifoBytes;
    const auto backlog =
        static_cast<std::size_t>((lineFree_ - now + byteTime_ - Clock::duration(1)) / byteTime_);
    return backlog >= kFifoBytes ? 0 : kFifoBytes - backlog;
}

void LinePacer::Used(std::size_t count, Clock::time_point now) {
    if (!Paced()) return;
    lineFree_ = std::max(lineFree_, now) + static_cast<Clock::rep>(count) * byteTime_;
}

}  // namespace zephran::sim
