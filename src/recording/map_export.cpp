// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording/map_export.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>

#include "platform/file_system.h"

namespace zephran {
namespace {

std::string XmlEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// Nine decimals of a degree are about a tenth of a millimetre.
std::string Format(const char* format, double a, double b = 0, double c = 0) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string KmlCoordinates(const TrackPoint& point) {
    return Format("%.9f,%.9f,%.3f", point.lon, point.lat, point.height);
}

bool Finish(std::ofstream& file) {
    file.flush();
    return static_cast<bool>(file);
}

void KmlPlacemark(std::ofstream& kml, const char* name, const TrackPoint& point) {
    kml << "<Placemark><name>" << name << "</name>";
    if (point.utc) kml << "<TimeStamp><when>" << IsoUtc(*point.utc) << "</when></TimeStamp>";
    kml << "<Point><altitudeMode>absolute</altitudeMode><coordinates>" << KmlCoordinates(point)
        << "</coordinates></Point></Placemark>\n";
}

}  // namespace

std::string IsoUtc(double utc) {
    const double whole = std::floor(utc);
    auto ms = static_cast<int>(std::lround((utc - whole) * 1000));
    auto seconds = static_cast<std::time_t>(whole);
    if (ms == 1000) {
        ms = 0;
        ++seconds;
    }
    const std::tm tm = UniversalTime(seconds);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, ms);
    return text;
}

bool WriteGpx(std::span<const TrackPoint> track, const std::string& name, const std::string& out) {
    std::ofstream gpx(PathFromUtf8(out), std::ios::binary | std::ios::trunc);
    if (!gpx) return false;
    gpx << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<gpx version=\"1.1\" creator=\"ZephranFPV\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
        << "<trk><name>" << XmlEscaped(name) << "</name><trkseg>\n";
    for (const TrackPoint& point : track) {
        gpx << "<trkpt " << Format("lat=\"%.9f\" lon=\"%.9f\"", point.lat, point.lon) << "><ele>"
            << Format("%.3f", point.height) << "</ele>";
        if (point.utc) gpx << "<time>" << IsoUtc(*point.utc) << "</time>";
        gpx << "</trkpt>\n";
    }
    gpx << "</trkseg></trk>\n</gpx>\n";
    return Finish(gpx);
}

bool WriteKml(std::span<const TrackPoint> track, const std::string& name, const std::string& out) {
    std::ofstream kml(PathFromUtf8(out), std::ios::binary | std::ios::trunc);
    if (!kml) return false;
    kml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document><name>"
        << XmlEscaped(name) << "</name>\n";
    if (!track.empty()) {
        KmlPlacemark(kml, "Start", track.front());
        KmlPlacemark(kml, "End", track.back());
    }
    kml << "<Placemark><name>" << XmlEscaped(name)
        << "</name><LineString><altitudeMode>absolute</altitudeMode><coordinates>\n";
    for (const TrackPoint& point : track)
        kml << KmlCoordinates(point) << '\n';
    kml << "</coordinates></LineString></Placemark>\n</Document>\n</kml>\n";
    return Finish(kml);
}

}  // namespace zephran
