#pragma once

#include <cstdint>

namespace zephran {

// Messages of the miniature AHRS board (group 15).
inline constexpr std::uint8_t kAhrsGroup = 15;
inline constexpr std::uint8_t DL_ID_AHRS_DATE_COME = 1;
inline constexpr std::uint8_t DL_MINIAHRS_RESET = 2;
inline constexpr std::uint8_t DL_MINIAHRS_ACC_BEGIN_CAL = 3;
inline constexpr std::uint8_t DL_MINIAHRS_ACC_STOP_CAL = 4;
inline constexpr std::uint8_t DL_MINIAHRS_ACC_READ_CAL = 5;
inline constexpr std::uint8_t DL_MINIAHRS_ACC_SET_DEFAULT = 6;
inline constexpr std::uint8_t DL_MINIAHRS_GYGO_BEGIN_CAL = 7;
inline constexpr std::uint8_t DL_MINIAHRS_GYRO_STOP_CAL = 8;
inline constexpr std::uint8_t DL_MINIAHRS_GYRO_READ_CAL = 9;
inline constexpr std::uint8_t DL_MINIAHRS_GYRO_SET_DEFAULT = 10;
inline constexpr std::uint8_t DL_MINIAHRS_MAG_BEGIN_CAL = 11;
inline constexpr std::uint8_t DL_MINIAHRS_MAG_STOP_CAL = 12;
inline constexpr std::uint8_t DL_MINIAHRS_MAG_READ_CAL = 13;
inline constexpr std::uint8_t DL_MINIAHRS_MAG_SET_DEAFULT = 14;
inline constexpr std::uint8_t DL_MINIAHRS_MAG_NORTH_TRIM_READ = 15;
inline constexpr std::uint8_t DL_MINIAHRS_MAG_CAL_COF = 18;
inline constexpr std::uint8_t DL_MINIAHRS_MAG_3AXIS_START_CAL = 22;
inline constexpr std::uint8_t DL_MINIAHRS_MAG_3AXIS_CANCAL_CAL = 23;
inline constexpr std::uint8_t DL_MINIAHRS_MAG_3AXIS_COMPLETE_CAL = 24;
inline constexpr std::uint8_t DL_MINIAHRS_MAG_3AXIS_CAL_COF = 25;
inline constexpr std::uint8_t DL_MINIAHRS_READ_QR_PARA = 32;
inline constexpr std::uint8_t DL_MINIAHRS_WRITE_QR_PARA = 33;
inline constexpr std::uint8_t DL_MINIAHRS_DEFAULT_QR_PARA = 34;
inline constexpr std::uint8_t DL_MINIAHRS_SET_FIR_GYRO = 38;
inline constexpr std::uint8_t DL_MINIAHRS_READ_FIR_GYRO = 39;
inline constexpr std::uint8_t DL_MINIAHRS_DEFAULT_FIR_GYRO = 40;
inline constexpr std::uint8_t DL_MINIAHRS_SET_FIR_ACC = 41;
inline constexpr std::uint8_t DL_MINIAHRS_READ_FIR_ACC = 48;
inline constexpr std::uint8_t DL_MINIAHRS_DEFAULT_FIR_ACC = 49;
inline constexpr std::uint8_t DL_MINIAHRS_SET_FIR_MAG = 50;
inline constexpr std::uint8_t DL_MINIAHRS_READ_FIR_MAG = 51;
inline constexpr std::uint8_t DL_MINIAHRS_DEFAULT_FIR_MAG = 52;
inline constexpr std::uint8_t DL_MINIAHRS_READ_ACC_6FACE = 53;
inline constexpr std::uint8_t DL_MINIAHRS_READ_ACC_6FACE_CAL = 54;
inline constexpr std::uint8_t DL_MINIAHRS_READ_ACC_CAL_COF = 55;
inline constexpr std::uint8_t DL_MINIAHRS_DEFAULT_ACC_CAL_COF = 56;
inline constexpr std::uint8_t DL_MINIAHRS_READ_MAG_6FACE = 57;
inline constexpr std::uint8_t DL_MINIAHRS_READ_MAG_6FACE_CAL = 64;
inline constexpr std::uint8_t DL_MINIAHRS_READ_MAG_6FACE_CAL_COF = 65;
inline constexpr std::uint8_t DL_MINIAHRS_DEFAULT_MAG_6FACE_CAL_COF = 66;
inline constexpr std::uint8_t DL_MINIAHRS_GYRO_READ_CAL_SCALE = 67;
inline constexpr std::uint8_t DL_MINIAHRS_GYRO_SET_CAL_SCALE = 68;

// Unit conversions of the board's values.
inline constexpr double kStandardGravity = 9.7873;  // m/s² per g
inline constexpr double kDegreesPerRadian = 57.29577951308232;

}  // namespace zephran
