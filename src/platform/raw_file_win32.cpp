// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <climits>

#include "platform/file_system.h"
#include "platform/raw_file.h"

namespace zephran {

int CreateNewFile(const std::string& path) {
    return _wopen(PathFromUtf8(path).c_str(),
                  _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

int CreateOrEmptyFile(const std::string& path) {
    return _wopen(PathFromUtf8(path).c_str(),
                  _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

long WriteToFile(int fd, const std::uint8_t* bytes, std::size_t count) {
    const unsigned chunk = count > INT_MAX ? INT_MAX : static_cast<unsigned>(count);
    return _write(fd, bytes, chunk);
}

bool TruncateFile(int fd, std::uint64_t size) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    return handle != INVALID_HANDLE_VALUE && SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) &&
           SetEndOfFile(handle);
}

bool CloseFile(int fd) {
    return _close(fd) == 0;
}

}  // namespace zephran
