// Arbitrary bytes as Config.ini: reads answer, and a write keeps every value it did not touch.
#include <cstdlib>
#include <string>

#include "memory_file.h"
#include "platform/private_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const zephran::fuzzing::MemoryFile input(data, size);
    const std::string path = input.Path();
    const std::string before = zephran::GetPrivateProfileString("PCSetting", "bps", "", path);
    (void)zephran::GetPrivateProfileInt("PCSetting", "Com", 12, path);

    char name[] = "/tmp/zephran-fuzz-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) return 0;
    if (::write(fd, data, size) != static_cast<ssize_t>(size)) {
        ::close(fd);
        ::unlink(name);
        return 0;
    }
    ::close(fd);
    zephran::WritePrivateProfileString("PCSetting", "Com", "7", name);
    if (zephran::GetPrivateProfileInt("PCSetting", "Com", 12, name) != 7) __builtin_trap();
    if (zephran::GetPrivateProfileString("PCSetting", "bps", "", name) != before) __builtin_trap();
    ::unlink(name);
    return 0;
}
