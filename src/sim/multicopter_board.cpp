#include "sim/multicopter_board.h"

#include <memory>

#include "sim/messages.h"
#include "sim/request_handlers.h"

namespace zephran::sim {

void InstallMulticopter(Board& board) {
    using namespace multicopter;
    auto direct = std::make_shared<bool>(false);
    OnChange(board, kGroup, kDirectOutput, 1, [direct](Request r) {
        const std::uint8_t choice = GetU8(r, 0);
        if (choice > 1) return false;
        *direct = choice == 1;
        return true;
    });
}

}  // namespace zephran::sim
