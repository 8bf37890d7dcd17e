#pragma once

#include <string>
#include <string_view>

namespace zephran {

// The per-user choice of language: section "Settings", key "Language" of the user's profile
// file, holding a language file's base name ("english") or nothing.
class LanguageSetting {
public:
    explicit LanguageSetting(std::string profilePath) : path_(std::move(profilePath)) {}

    std::string Read() const;
    bool Write(std::string_view language) const;

private:
    std::string path_;
};

}  // namespace zephran
