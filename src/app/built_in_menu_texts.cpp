#include "app/built_in_menu_texts.h"

#include <charconv>
#include <string>

#include "app/menu_bar.h"

namespace zephran {
namespace {

struct Caption {
    std::string_view section;
    std::string_view key;
    std::string_view text;
};

constexpr Caption kCaptions[] = {
    {"Product Menu", "1000", "Product"},
    {"Product Menu", "1001", "Vantrel OSD"},
    {"Product Menu", "1002", "Standard OSD Autopilot"},
    {"Product Menu", "1003", "Antenna Tracker (AAT)"},
    {"Product Menu", "1004", "AHRS"},
    {"Product Menu", "1005", "GPS/INS"},
    {"Product Menu", "1006", "Multicopter"},
    {"Product Menu", "1007", "Helicopter"},
    {"Lang Menu", "1000", "Language"},
    {"Lang Menu", "1001", "Select Language..."},
    {"PC Configure", "0000", "Connection"},
    {"PC Configure", "1000", "Port"},
    {"PC Configure", "2000", "Baud Rate"},
    {"PC Configure", "3000", "Automatic Port Scan"},
    {"PC Configure", "4000", "Manual Port"},
    {"Ahrs Configure", "0000", "AHRS Settings"},
    {"Ahrs Configure", "1000", "Board Baud Rate"},
    {"Ahrs Configure", "2000", "Output Rate"},
    {"Ahrs Configure", "2001", "10 Hz"},
    {"Ahrs Configure", "2002", "25 Hz"},
    {"Ahrs Configure", "2003", "50 Hz"},
    {"Ahrs Configure", "2004", "100 Hz"},
    {"Ahrs Configure", "2005", "200 Hz"},
    {"Ahrs Configure", "2006", "500 Hz"},
    {"Ahrs Configure", "3000", "Output Protocol"},
    {"Ahrs Configure", "3001", "Binary Frames"},
    {"Ahrs Configure", "3002", "ASCII Text"},
    {"Ahrs Configure", "4000", "Running Mode"},
    {"Ahrs Configure", "4001", "9-Axis AHRS (with Compass)"},
    {"Ahrs Configure", "4002", "6-Axis AHRS (without Compass)"},
    {"Ahrs Configure", "4003", "Gyro Integration Only"},
    {"Ahrs Configure", "4004", "Sensor Test"},
    {"Ahrs Configure", "5000", "Data Output Mode"},
    {"Ahrs Configure", "5001", "Attitude Only"},
    {"Ahrs Configure", "5002", "Attitude and Sensors"},
    {"Ahrs Configure", "5003", "Calibrated Sensors"},
    {"Ahrs Configure", "5004", "Raw Sensors"},
    {"Ahrs Configure", "6000", "Sensor Mounting Direction"},
    {"Ahrs Configure", "6001", "Upright, X Forward"},
    {"Ahrs Configure", "6002", "Upright, X Right"},
    {"Ahrs Configure", "6003", "Upright, X Backward"},
    {"Ahrs Configure", "6004", "Upright, X Left"},
    {"Ahrs Configure", "6005", "Inverted, X Forward"},
    {"Ahrs Configure", "6006", "Inverted, X Right"},
    {"Ahrs Configure", "6007", "Inverted, X Backward"},
    {"Ahrs Configure", "6008", "Inverted, X Left"},
    {"Ahrs Configure", "7000", "Gyroscope Range"},
    {"Ahrs Configure", "7001", "±250 °/s"},
    {"Ahrs Configure", "7002", "±500 °/s"},
    {"Ahrs Configure", "7003", "±2000 °/s"},
    {"Ahrs Configure", "8000", "Accelerometer Range"},
    {"Ahrs Configure", "8001", "±2 g"},
    {"Ahrs Configure", "8002", "±4 g"},
    {"Ahrs Configure", "8003", "±8 g"},
    {"Ahrs Configure", "9000", "Magnetometer Range"},
    {"Ahrs Configure", "9001", "±0.88 Ga"},
    {"Ahrs Configure", "9002", "±1.3 Ga"},
    {"Ahrs Configure", "9003", "±1.9 Ga"},
    {"Ahrs Configure", "9004", "±2.5 Ga"},
    {"Ahrs Configure", "9005", "±4.0 Ga"},
    {"Ahrs Configure", "9006", "±4.7 Ga"},
    {"Ahrs Configure", "9007", "±5.6 Ga"},
    {"Help Menu", "1000", "Help"},
    {"Help Menu", "1001", "ZephranFPV Website"},
};

// Both baud-rate popups (PC Configure 2001.., Ahrs Configure 1001..) name the rates themselves.
std::string BaudRateCaption(std::string_view section, std::string_view key) {
    const unsigned first = section == "PC Configure"     ? 2001
                           : section == "Ahrs Configure" ? 1001
                                                         : 0;
    unsigned number = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
    if (first == 0 || error != std::errc() || end != key.data() + key.size()) return {};
    if (number < first || number >= first + kBaudRates.size()) return {};
    return std::to_string(kBaudRates[number - first]);
}

class MenuCaptions : public TextSource {
public:
    std::string LangText(std::string_view section, std::string_view key) const override {
        for (const Caption& c : kCaptions) {
            if (c.section == section && c.key == key) return std::string(c.text);
        }
        return BaudRateCaption(section, key);
    }
};

}  // namespace

const TextSource& BuiltInMenuTexts() {
    static const MenuCaptions captions;
    return captions;
}

}  // namespace zephran
