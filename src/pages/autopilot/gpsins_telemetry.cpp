#include "pages/autopilot/gpsins_telemetry.h"

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "records/ahrs_units.h"
#include "records/record_store.h"

namespace zephran {
namespace {

float Degrees(float radians) {
    return static_cast<float>(static_cast<double>(radians) * kDegreesPerRadian);
}

float Radians(float degrees) {
    return static_cast<float>(static_cast<double>(degrees) / kDegreesPerRadian);
}

float InG(float metresPerSecond2) {
    return static_cast<float>(static_cast<double>(metresPerSecond2) / kStandardGravity);
}

float InMetresPerSecond2(float g) {
    return static_cast<float>(static_cast<double>(g) * kStandardGravity);
}

}  // namespace

void GpsInsTelemetry::RouteFirst(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::DL_GPSINS_SENSORRAW, [this](const ReceiveArea&) { OnSensorsRaw(); });
    dispatcher.Route(msg::DL_GPSINS_NAVOUTPUT, [this](const ReceiveArea&) { OnNavOutput(); });
    dispatcher.Route(msg::DL_ID_AHRS_DATE_COME, [this](const ReceiveArea&) { OnAhrsLive(); });
}

void GpsInsTelemetry::RouteLast(ReplyDispatcher& dispatcher) {
    dispatcher.Route(msg::DL_GPSINS_NAVOUTPUT,
                     [this](const ReceiveArea&) { records_.gpsRaw.dataNewF = 0; });
}

void GpsInsTelemetry::OnSensorsRaw() {
    const SensorsRawRecord& raw = records_.sensorsRaw;
    records_.gpsInsTexts.sensorsRaw = FormatSensorsRawText(raw);
    AhrsLiveRecord& live = records_.ahrsLive;
    live.ax = InG(raw.ax);
    live.ay = InG(raw.ay);
    live.az = InG(raw.az);
    live.mx = raw.mx;
    live.my = raw.my;
    live.mz = raw.mz;
}

void GpsInsTelemetry::OnNavOutput() {
    const NavOutputRecord& nav = records_.navOutput;
    const Angles angles = QuaternionToAngles({nav.q[0], nav.q[1], nav.q[2], nav.q[3]});
    records_.gpsInsTexts.navOutput = FormatNavOutputText(nav, angles);
    records_.gpsInsTexts.gpsRaw = FormatGpsRawText(records_.gpsRaw);

    NavigationSample& sample = records_.navSample;
    sample.lon = nav.lon;
    sample.lat = nav.lat;
    sample.hmsl = nav.hmsl;
    sample.vccN = nav.vccN;
    sample.vccE = nav.vccE;
    sample.vccD = nav.vccD;
    sample.roll = angles.roll;
    sample.pitch = angles.pitch;
    sample.yaw = angles.yaw;
    for (int i = 0; i < 4; ++i)
        sample.q[i] = nav.q[i];

    AhrsLiveRecord& live = records_.ahrsLive;
    live.flags = nav.flags;
    live.roll = angles.roll;
    live.pitch = angles.pitch;
    live.yaw = angles.yaw;
    live.gx = Degrees(nav.gyroX);
    live.gy = Degrees(nav.gyroY);
    live.gz = Degrees(nav.gyroZ);
}

void GpsInsTelemetry::OnAhrsLive() {
    const AhrsLiveRecord& live = records_.ahrsLive;
    SensorsRawRecord& raw = records_.sensorsRaw;
    raw.gx = Radians(live.gx);
    raw.gy = Radians(live.gy);
    raw.gz = Radians(live.gz);
    raw.ax = InMetresPerSecond2(live.ax);
    raw.ay = InMetresPerSecond2(live.ay);
    raw.az = InMetresPerSecond2(live.az);
    raw.mx = live.mx;
    raw.my = live.my;
    raw.mz = live.mz;
    records_.navSample.roll = live.roll;
    records_.navSample.pitch = live.pitch;
    records_.navSample.yaw = live.yaw;
}

}  // namespace zephran
