#include "app/page_factory.h"

namespace zephran {
namespace {

Page::Identity IdentityOf(const PageIdentity& identity) {
    return {std::string(identity.className), std::string(identity.treeKey),
            std::string(identity.section), identity.liveCode, identity.titled};
}

// A page whose controls are still to come.
class TitlePage : public Page {
public:
    TitlePage(PageHost& host, const PageIdentity& identity)
        : Page(host, IdentityOf(identity),
               {std::string(identity.builtInTitle), {}, ui::Column({})}) {}
};

}  // namespace

std::unique_ptr<Page> CreatePage(PageHost& host, const PageIdentity& identity) {
    return std::make_unique<TitlePage>(host, identity);
}

}  // namespace zephran
