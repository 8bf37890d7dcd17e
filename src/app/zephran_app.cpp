#include "app/zephran_app.h"

#include <filesystem>

namespace zephran {

CZephranApp::CZephranApp(AppPaths paths) : paths_(std::move(paths)), settings_(paths_.configFile) {}

void CZephranApp::PrepareSettings() const {
    MakeDirectories(std::filesystem::path(paths_.configFile).parent_path().string());
    settings_.EnsureDefaults();
}

}  // namespace zephran
