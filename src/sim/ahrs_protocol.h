#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "sim/ahrs_model.h"
#include "sim/board.h"

namespace zephran::sim::ahrs {

inline constexpr std::uint8_t kGroup = 15;

// The messages of the AHRS group.
enum Id : std::uint8_t {
    kLiveData = 1,
    kReset = 2,
    kAccBeginCal = 3,
    kAccStopCal = 4,
    kAccReadCal = 5,
    kAccDefault = 6,
    kGyroBeginCal = 7,
    kGyroStopCal = 8,
    kGyroReadCal = 9,
    kGyroDefault = 10,
    kMagBeginCal = 11,
    kMagStopCal = 12,
    kMagReadCal = 13,
    kMagDefault = 14,
    kNorthTrimRead = 15,
    kNorthTrimSet = 16,
    kNorthTrimDefault = 17,
    kMagCalReport = 18,
    kMagUsed = 19,
    kOutputProtocol = 20,
    kOutputRate = 21,
    kMag3AxisStart = 22,
    kMag3AxisCancel = 23,
    kMag3AxisComplete = 24,
    kMag3AxisReport = 25,
    kReadNoise = 32,
    kWriteNoise = 33,
    kDefaultNoise = 34,
    kImuDirection = 35,
    kRunningMode = 36,
    kDataOutputMode = 37,
    kWriteGyroFir = 38,
    kReadGyroFir = 39,
    kDefaultGyroFir = 40,
    kWriteAccFir = 41,
    kReadAccFir = 48,
    kDefaultAccFir = 49,
    kWriteMagFir = 50,
    kReadMagFir = 51,
    kDefaultMagFir = 52,
    kReadAccFace = 53,
    kAccFaceCal = 54,
    kReadAccCof = 55,
    kDefaultAccCof = 56,
    kReadMagFace = 57,
    kMagFaceCal = 64,
    kReadMagFaceCof = 65,
    kDefaultMagFaceCof = 66,
    kGyroReadScale = 67,
    kGyroSetScale = 68,
    kGyroRange = 69,
    kAccRange = 70,
    kMagRange = 71,
};

// Registers the handler of request msgId for payloads of exactly `length` bytes; a request of
// any other length is ignored like an unknown one.
void HandleExact(Board& board, std::uint8_t msgId, std::size_t length, Board::Handler handler);
// An empty request that runs `action` and is acknowledged with an empty frame of its id.
void HandleCommand(Board& board, std::uint8_t msgId, std::function<void(Board&)> action);
// An empty request answered under its own id with the record `reply` builds.
void HandleRead(Board& board, std::uint8_t msgId, std::function<Bytes()> reply);

// Three floats from the offset on.
void PutVec3(Bytes& out, std::size_t offset, const Vec3& value);

// Board time in seconds since power-on, the attitude model's clock.
double BoardSeconds(const Board& board);

}  // namespace zephran::sim::ahrs
