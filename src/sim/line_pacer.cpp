#include "sim/line_pacer.h"

#include <algorithm>
#include <chrono>

namespace zephran::sim {

LinePacer::LinePacer(unsigned baud) {
    if (baud != 0) {
        byteTime_ =
            std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(10.0 / baud));
    }
}

void LinePacer::Put(std::size_t count, Clock::time_point now) {
    if (!Paced()) return;
    lineFree_ = std::max(lineFree_, now) + static_cast<Clock::rep>(count) * byteTime_;
}

std::size_t LinePacer::Crossing(Clock::time_point now) const {
    if (!Paced() || lineFree_ <= now) return 0;
    // The bytes still crossing follow each other up to lineFree_: nothing put later than now
    // starts before now.
    return static_cast<std::size_t>((lineFree_ - now + byteTime_ - Clock::duration(1)) / byteTime_);
}

Clock::time_point LinePacer::NextCrossed(Clock::time_point now) const {
    const std::size_t crossing = Crossing(now);
    if (crossing == 0) return now;
    return lineFree_ - static_cast<Clock::rep>(crossing - 1) * byteTime_;
}

}  // namespace zephran::sim
