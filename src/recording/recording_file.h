#pragma once

#include <ctime>
#include <string>

namespace zephran {

// The file name of a recording started at local time local: year, month, day, hour, minute and
// second joined by dashes, then ".dat".
std::string RecordingFileName(const std::tm& local);

// Creates a new, empty recording file in dir named after the local time of start, never
// replacing a file: when the name is taken, "-2", "-3" and so on go before ".dat". Returns the
// open descriptor and sets path, or returns -1.
int CreateRecordingFile(const std::string& dir, std::time_t start, std::string& path);

}  // namespace zephran
