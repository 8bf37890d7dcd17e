#include "platform/whole_file.h"

#include <fstream>
#include <iterator>

#include "platform/file_system.h"
#include "platform/process.h"

namespace zephran {

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit) {
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
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
    const std::string temporary = path + ".tmp" + std::to_string(ProcessId());
    {
        std::ofstream out(PathFromUtf8(temporary), std::ios::binary | std::ios::trunc);
        if (out) {
            out << bytes;
            out.close();
            if (out && RenameFile(temporary, path)) return true;
        }
        RemoveFile(temporary);
    }
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << bytes;
    return static_cast<bool>(out);
}

}  // namespace zephran
