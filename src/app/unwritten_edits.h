#pragma once

#include <memory>
#include <vector>

#include "link/text_source.h"
#include "pages/framework/page.h"
#include "ui/host_services.h"

namespace zephran {

// Whether quitting may go ahead while boxes hold changes the board never acknowledged: asks
// once when any page has such a set, and goes ahead when none has.
bool MayQuitWithUnwrittenEdits(const std::vector<std::unique_ptr<Page>>& pages,
                               ui::HostServices& host, const TextSource& texts);

}  // namespace zephran
