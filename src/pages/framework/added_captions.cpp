#include "pages/framework/added_captions.h"

#include <algorithm>

namespace zephran {
namespace {

constexpr AddedCaptionKey kAddedCaptionKeys[] = {
    // The GPS/INS filter page's groups and labels.
    {"DlgGPSINSSetting", "IDC_STATIC_QR_PARAMETER"},
    {"DlgGPSINSSetting", "IDC_STATIC_Q"},
    {"DlgGPSINSSetting", "IDC_STATIC_R"},
    {"DlgGPSINSSetting", "IDC_STATIC_Q_GYRO"},
    {"DlgGPSINSSetting", "IDC_STATIC_Q_ACC"},
    {"DlgGPSINSSetting", "IDC_STATIC_Q_GYRO_RANDOM_WALK"},
    {"DlgGPSINSSetting", "IDC_STATIC_Q_ACC_RANDOM_WALK"},
    {"DlgGPSINSSetting", "IDC_STATIC_R_GPS_HORI_POSITION"},
    {"DlgGPSINSSetting", "IDC_STATIC_R_GPS_VERTI_POSITION"},
    {"DlgGPSINSSetting", "IDC_STATIC_R_GPS_HORI_VELOCITY"},
    {"DlgGPSINSSetting", "IDC_STATIC_R_GPS_VERTI_VELOCITY"},
    {"DlgGPSINSSetting", "IDC_STATIC_R_BAROMETER"},
    {"DlgGPSINSSetting", "IDC_STATIC_R_ACC_NO_GPS"},
    {"DlgGPSINSSetting", "IDC_STATIC_R_MAG_YAW"},
    {"DlgGPSINSSetting", "IDC_STATIC_R_ACC"},
    // The units beside the RSSI calibration boxes.
    {"DlgCalibrate", "IDC_STATIC_RSSI_MAX_UNIT"},
    {"DlgCalibrate", "IDC_STATIC_RSSI_MIN_UNIT"},
    // The playback controls of the recording page.
    {"DlgDataAnalyz", "IDC_BUTTON_OPEN_RECORDING"},
    {"DlgDataAnalyz", "IDC_BUTTON_PLAY"},
    {"DlgDataAnalyz", "IDC_BUTTON_PAUSE"},
    {"DlgDataAnalyz", "IDC_BUTTON_EXPORT_CSV"},
    {"DlgDataAnalyz", "IDC_SPEED_FASTEST"},
};

}  // namespace

std::span<const AddedCaptionKey> AddedCaptionKeys() {
    return kAddedCaptionKeys;
}

bool IsAddedCaption(std::string_view section, std::string_view key) {
    return std::any_of(
        std::begin(kAddedCaptionKeys), std::end(kAddedCaptionKeys),
        [&](const AddedCaptionKey& added) { return added.section == section && added.key == key; });
}

}  // namespace zephran
