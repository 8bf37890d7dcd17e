#include "sim/aat_tracker.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>

#include "sim/messages.h"
#include "sim/request_handlers.h"

namespace zephran::sim {
namespace {

using namespace aat;

constexpr auto kPeriod = std::chrono::milliseconds(100);
constexpr double kStep = 0.1;  // seconds per period
// Every status frame takes a line of the traffic log: five a second keep the head moving
// without flooding it.
constexpr auto kStatusPeriod = std::chrono::milliseconds(200);
constexpr double kStatusStep = 0.2;
constexpr double kDegree = std::numbers::pi / 180;
constexpr float kFactorySpeed = 4000;
constexpr double kSpeedPerDegreePerSecond = 50;
constexpr double kHeadRate = 90;  // degrees per second when following

// Where the tracker stands.
constexpr double kLatitude = 22.5431234, kLongitude = 113.9472100;
constexpr std::int16_t kAltitude = 35;

// The compass as mounted: the field's horizontal strength, hard-iron offsets and soft-iron
// scales of x and y, and the vertical field.
constexpr double kField = 420, kXOffset = 38, kYOffset = -24, kXScale = 1.0, kYScale = 0.9;
constexpr double kZField = -310;

struct Tracker {
    float speed = kFactorySpeed;
    float compassOffset = 0;
    std::array<float, 3> offset{0, 0, 0};
    std::array<float, 3> scale{1, 1, 1};
    double pitch = 0, yaw = 0;  // degrees
    double time = 0;            // seconds of flight of the target
    bool calibrating = false;
    double turned = 0;
    std::array<float, 3> current{}, minimum{}, maximum{};
    Board::SourceId calibration = 0;

    void RestoreFactory() {
        speed = kFactorySpeed;
        compassOffset = 0;
        offset = {0, 0, 0};
        scale = {1, 1, 1};
    }
    // The compass reading at the head's yaw.
    void Sense() {
        current = {static_cast<float>(kXOffset + kXScale * kField * std::cos(yaw * kDegree)),
                   static_cast<float>(kYOffset - kYScale * kField * std::sin(yaw * kDegree)),
                   static_cast<float>(kZField)};
        for (std::size_t k = 0; k < 3; ++k) {
            minimum[k] = std::min(minimum[k], current[k]);
            maximum[k] = std::max(maximum[k], current[k]);
        }
    }
    void StartCalibration() {
        calibrating = true;
        turned = 0;
        minimum = {INFINITY, INFINITY, INFINITY};
        maximum = {-INFINITY, -INFINITY, -INFINITY};
        Sense();
    }
    // Offsets centre x and y; scales bring both to their mean half range. z is not calibrated.
    void FinishCalibration() {
        calibrating = false;
        const float xHalf = (maximum[0] - minimum[0]) / 2, yHalf = (maximum[1] - minimum[1]) / 2;
        offset = {(maximum[0] + minimum[0]) / 2, (maximum[1] + minimum[1]) / 2, 0};
        const float mean = (xHalf + yHalf) / 2;
        scale = {mean / xHalf, mean / yHalf, 1};
    }
};

double Wrap(double degrees) {
    return std::remainder(degrees, 360.0);
}

// The aircraft circles 500 m north and 300 m east of the tracker, 120 m up and rising and
// falling by 40 m; the head turns toward it at its own rate.
void Follow(Tracker& t) {
    t.time += kStatusStep;
    const double angle = t.time * 0.04;
    const double north = 500 + 400 * std::cos(angle), east = 300 + 400 * std::sin(angle);
    const double up = 120 + 40 * std::sin(t.time * 0.1);
    const double bearing = std::atan2(east, north) / kDegree;
    const double elevation = std::atan2(up, std::hypot(north, east)) / kDegree;
    const double most = kHeadRate * kStatusStep;
    t.yaw = Wrap(t.yaw + std::clamp(Wrap(bearing - t.yaw), -most, most));
    t.pitch = std::clamp(elevation, t.pitch - most, t.pitch + most);
}

Bytes Status(const Tracker& t) {
    Bytes out;
    PutI16(out, 0, static_cast<std::int16_t>(std::lround(t.pitch * 100)));
    PutI16(out, 2, static_cast<std::int16_t>(std::lround(Wrap(t.yaw) * 100)));
    PutI32(out, 4, static_cast<std::int32_t>(std::lround(kLatitude * 1e7)));
    PutI32(out, 8, static_cast<std::int32_t>(std::lround(kLongitude * 1e7)));
    PutI16(out, 12, kAltitude);
    return out;
}

Bytes Floats(std::initializer_list<std::array<float, 3>> groups) {
    Bytes out;
    std::size_t offset = 0;
    for (const auto& group : groups) {
        for (float v : group) {
            PutFloat(out, offset, v);
            offset += 4;
        }
    }
    return out;
}

bool Finite(float v) {
    return std::isfinite(v);
}

}  // namespace

void InstallAatTracker(Board& board) {
    auto t = std::make_shared<Tracker>();

    // The head reports itself once the link is up.
    board.AddSource(kStatusPeriod, [t](Board& b) {
        if (!b.Connected()) return;
        if (!t->calibrating) Follow(*t);
        b.Send(kGroup, kStatus, Status(*t));
    });
    // A calibration turns the head at its speed and reports the compass; after a full turn the
    // offsets and scales are set and the reports stop.
    t->calibration = board.AddSource(Clock::duration::zero(), [t](Board& b) {
        const double step = std::clamp(t->speed / kSpeedPerDegreePerSecond, 10.0, 360.0) * kStep;
        const double turn = std::min(step, 360 - t->turned);
        t->turned += turn;
        t->yaw = Wrap(t->yaw + turn);
        t->Sense();
        b.Send(kGroup, kMagReport, Floats({t->current, t->minimum, t->maximum}));
        if (t->turned >= 360) {
            t->FinishCalibration();
            b.SetSourcePeriod(t->calibration, Clock::duration::zero());
        }
    });

    On(board, kGroup, kStartCal, 0, [t](Request, Board& b) {
        t->StartCalibration();
        b.SetSourcePeriod(t->calibration, kPeriod);
        b.Send(kGroup, kStartCal);
    });
    On(board, kGroup, kStopCal, 0, [t](Request, Board& b) {
        t->calibrating = false;
        b.SetSourcePeriod(t->calibration, Clock::duration::zero());
        b.Send(kGroup, kStopCal);
    });
    On(board, kGroup, kReadCal, 0, [t](Request, Board& b) {
        b.Send(kGroup, kReadCal, Floats({t->offset, t->scale}));
    });
    OnChange(board, kGroup, kDefaultCal, 0, [t](Request) {
        t->RestoreFactory();
        return true;
    });
    OnKeptFloat(board, kGroup, kReadSpeed, kSetSpeed, t, &Tracker::speed,
                [](float speed) { return Finite(speed) && speed > 0; });
    OnKeptFloat(board, kGroup, kReadCompassOffset, kSetCompassOffset, t, &Tracker::compassOffset,
                Finite);
}

}  // namespace zephran::sim
