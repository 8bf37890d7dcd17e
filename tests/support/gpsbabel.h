// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace zephran::testing {

// A point as GPSBabel read it.
struct BabelPoint {
    double lat = 0, lon = 0;
    std::optional<double> ele;
    std::string time;  // as GPSBabel writes it, empty when the point has none
};

struct BabelRead {
    int status = -1;  // GPSBabel's exit status
    std::vector<BabelPoint> track;
    std::vector<BabelPoint> waypoints;
};

// Reads file in format ("gpx", "kml") with Debian's gpsbabel and takes back what it read from
// the GPX 1.1 it writes: every track point and every waypoint.
inline BabelRead ReadWithGpsbabel(const std::string& format, const std::string& file) {
    BabelRead read;
    const std::string command =
        "gpsbabel -w -t -i " + format + " -f '" + file + "' -o gpx,gpxver=1.1 -F - 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return read;
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    read.status = pclose(pipe);
    // The text of attribute or element name inside an element's text, empty when missing.
    const auto attribute = [](const std::string& text, const std::string& name) {
        const auto at = text.find(" " + name + "=\"");
        if (at == std::string::npos) return std::string();
        const auto begin = at + name.size() + 3;
        return text.substr(begin, text.find('"', begin) - begin);
    };
    const auto element = [](const std::string& text, const std::string& name) {
        const auto at = text.find("<" + name + ">");
        if (at == std::string::npos) return std::string();
        const auto begin = at + name.size() + 2;
        return text.substr(begin, text.find('<', begin) - begin);
    };
    for (const std::string kind : {"trkpt", "wpt"}) {
        for (auto at = out.find("<" + kind + " "); at != std::string::npos;
             at = out.find("<" + kind + " ", at + 1)) {
            const std::string text = out.substr(at, out.find("</" + kind + ">", at) - at);
            BabelPoint p{std::stod(attribute(text, "lat")), std::stod(attribute(text, "lon")),
                         std::nullopt, element(text, "time")};
            if (const std::string e = element(text, "ele"); !e.empty()) p.ele = std::stod(e);
            (kind == "trkpt" ? read.track : read.waypoints).push_back(p);
        }
    }
    return read;
}

}  // namespace zephran::testing
