#include "recording/recording_file.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>

namespace zephran {

std::string RecordingFileName(const std::tm& local) {
    char name[64];
    std::snprintf(name, sizeof name, "%02d-%02d-%02d-%02d-%02d-%02d.dat", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return name;
}

int CreateRecordingFile(const std::string& dir, std::time_t start, std::string& path) {
    std::tm local{};
    localtime_r(&start, &local);
    const std::string name = RecordingFileName(local);
    const std::string stem = dir + "/" + name.substr(0, name.size() - 4);
    for (int n = 1; n < 1000; ++n) {
        path = n == 1 ? stem + ".dat" : stem + "-" + std::to_string(n) + ".dat";
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace zephran
