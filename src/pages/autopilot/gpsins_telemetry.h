#pragma once

namespace zephran {

class ReplyDispatcher;
struct RecordStore;

// What the GPS/INS telemetry derives for every page, kept in one place: the view's texts, the
// AHRS live record and the navigation sample are current before any page handles a SensorsRaw
// or NavOutput, and the AHRS live data gives the navigation sample its attitude and the
// SensorsRaw record its sensors. The 3-D views take the attitude of a NavOutput from
// `RecordStore::ahrsLive` (roll, pitch, yaw in degrees) in their own handler of it.
class GpsInsTelemetry {
public:
    explicit GpsInsTelemetry(RecordStore& records) : records_(records) {}

    // Before the pages' handlers.
    void RouteFirst(ReplyDispatcher& dispatcher);
    // After every page's handler: the GPSRaw new-data flag is shown by the first NavOutput
    // after each GPSRaw only.
    void RouteLast(ReplyDispatcher& dispatcher);

private:
    void OnSensorsRaw();
    void OnNavOutput();
    void OnAhrsLive();

    RecordStore& records_;
};

}  // namespace zephran
