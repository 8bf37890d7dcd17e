#include "recording/recording_file.h"

#include <cerrno>
#include <cstdio>

#include "platform/file_system.h"
#include "platform/raw_file.h"

namespace zephran {

std::string RecordingFileName(const std::tm& local) {
    char name[64];
    std::snprintf(name, sizeof name, "%02d-%02d-%02d-%02d-%02d-%02d.dat", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return name;
}

int CreateRecordingFile(const std::string& dir, std::time_t start, std::string& path) {
    const std::string name = RecordingFileName(LocalTime(start));
    const std::string stem = dir + "/" + name.substr(0, name.size() - 4);
    for (int n = 1; n < 1000; ++n) {
        path = n == 1 ? stem + ".dat" : stem + "-" + std::to_string(n) + ".dat";
        const int fd = CreateNewFile(path);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace zephran
