#include "platform/whole_file.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace zephran {

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > limit) return std::nullopt;
    }
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes) {
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) {
            out << bytes;
            out.close();
            if (out && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
        }
        std::remove(temporary.c_str());
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << bytes;
    return static_cast<bool>(out);
}

}  // namespace zephran
