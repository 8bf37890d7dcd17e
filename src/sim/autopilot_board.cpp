#include "sim/autopilot_board.h"

#include <memory>

namespace zephran::sim::autopilot {
namespace {

// Field offsets of the record; byte 0 is the board's tag.
constexpr std::size_t kTotalP = 1, kP = 5, kI = 6, kD = 7, kIThreshold = 8, kMaxI = 12,
                      kInSlew = 16, kOutSlew = 20, kDP = 24, kOutMax = 28;

constexpr std::uint8_t kFirstTag = 0xC0;

// Roll rate, pitch rate, yaw rate, roll, pitch, heading to rudder; then heading to rudder and
// to roll, height, climb rate, ground speed and airspeed.
constexpr std::array<PidSet, kPidSetCount> kFactory{{
    {1.0f, 40, 5, 10, 20.0f, 30.0f, 500.0f, 1000.0f, 0.5f, 45.0f},
    {1.0f, 50, 6, 12, 20.0f, 30.0f, 500.0f, 1000.0f, 0.5f, 45.0f},
    {0.5f, 30, 2, 0, 10.0f, 15.0f, 300.0f, 800.0f, 0.25f, 30.0f},
    {2.5f, 60, 0, 0, 5.0f, 10.0f, 90.0f, 180.0f, 0.0f, 200.0f},
    {2.0f, 55, 3, 0, 5.0f, 10.0f, 90.0f, 180.0f, 0.0f, 150.0f},
    {1.5f, 20, 1, 4, 15.0f, 20.0f, 60.0f, 120.0f, 0.125f, 25.0f},
    {0.75f, 25, 1, 2, 30.0f, 10.0f, 45.0f, 90.0f, 0.0f, 20.0f},
    {1.25f, 35, 2, 0, 30.0f, 12.5f, 45.0f, 90.0f, 0.0f, 35.0f},
    {0.8f, 15, 4, 0, 10.0f, 3.0f, 5.0f, 10.0f, 0.0f, 5.0f},
    {4.0f, 20, 8, 2, 2.0f, 8.0f, 20.0f, 40.0f, 0.0f, 25.0f},
    {3.0f, 45, 10, 0, 4.0f, 20.0f, 10.0f, 25.0f, 0.0f, 100.0f},
    {3.5f, 40, 12, 0, 3.0f, 25.0f, 10.0f, 25.0f, 0.0f, 100.0f},
}};

std::uint8_t ReadId(std::size_t n) {
    return static_cast<std::uint8_t>(3 * n + 1);
}

}  // namespace

const PidSet& FactoryPidSet(std::size_t n) {
    return kFactory[n];
}

std::uint8_t PidSetTag(std::size_t n) {
    return static_cast<std::uint8_t>(kFirstTag + n);
}

Bytes EncodePidSet(std::size_t n, const PidSet& set) {
    Bytes record;
    PutU8(record, 0, PidSetTag(n));
    PutFloat(record, kTotalP, set.totalP);
    PutU8(record, kP, set.p);
    PutU8(record, kI, set.i);
    PutU8(record, kD, set.d);
    PutFloat(record, kIThreshold, set.iThreshold);
    PutFloat(record, kMaxI, set.maxI);
    PutFloat(record, kInSlew, set.inSlew);
    PutFloat(record, kOutSlew, set.outSlew);
    PutFloat(record, kDP, set.dp);
    PutFloat(record, kOutMax, set.outMax);
    return record;
}

PidSet DecodePidSet(std::span<const std::uint8_t> record) {
    return {GetFloat(record, kTotalP),
            GetU8(record, kP),
            GetU8(record, kI),
            GetU8(record, kD),
            GetFloat(record, kIThreshold),
            GetFloat(record, kMaxI),
            GetFloat(record, kInSlew),
            GetFloat(record, kOutSlew),
            GetFloat(record, kDP),
            GetFloat(record, kOutMax)};
}

}  // namespace zephran::sim::autopilot

namespace zephran::sim {

void InstallAutopilot(Board& board) {
    using namespace autopilot;
    auto sets = std::make_shared<std::array<PidSet, kPidSetCount>>(kFactory);
    for (std::size_t n = 0; n < kPidSetCount; ++n) {
        const std::uint8_t read = ReadId(n);
        const std::uint8_t write = read + 1;
        const std::uint8_t reset = read + 2;
        // Requests of another length than their layout are malformed and go unanswered.
        board.Handle(kGroup, read,
                     [sets, n, read](std::span<const std::uint8_t> request, Board& b) {
                         if (request.empty()) b.Send(kGroup, read, EncodePidSet(n, (*sets)[n]));
                     });
        // The leading byte stays the board's own tag, whatever the tool sends back.
        board.Handle(kGroup, write,
                     [sets, n, write](std::span<const std::uint8_t> request, Board& b) {
                         if (request.size() != kPidSetSize) return;
                         (*sets)[n] = DecodePidSet(request);
                         b.Send(kGroup, write);
                     });
        board.Handle(kGroup, reset,
                     [sets, n, reset](std::span<const std::uint8_t> request, Board& b) {
                         if (!request.empty()) return;
                         (*sets)[n] = kFactory[n];
                         b.Send(kGroup, reset);
                     });
    }
}

}  // namespace zephran::sim
