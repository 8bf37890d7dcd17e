#pragma once

#include <memory>

#include "pages/framework/page.h"
#include "pages/framework/page_services.h"
#include "pages/framework/products.h"

namespace zephran {

// Creates the page of one identity: its own class where it has one, else a page that shows its
// title alone.
std::unique_ptr<Page> CreatePage(PageHost& host, const PageServices& services,
                                 const PageIdentity& identity);

}  // namespace zephran
