#include "sim/link_control.h"

#include <algorithm>
#include <string>

namespace zephran::sim {

void SendTextLine(Board& board, std::string_view line) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(line.data());
    board.Send(kTextGroup, kTextLineId,
               {bytes, std::min(line.size(), kMaxTextFrame - kFrameOverhead)});
}

void InstallLinkControl(Board& board) {
    const Board::SourceId uptime = board.AddSource(Clock::duration::zero(), [](Board& b) {
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(b.Uptime());
        SendTextLine(b, "uptime " + std::to_string(seconds.count()) + " s\r\n");
    });
    board.Handle(kLinkControlGroup, kConnectId, [uptime](std::span<const std::uint8_t>, Board& b) {
        b.Send(kLinkControlGroup, kConnectId);
        if (b.Connected()) return;
        b.SetConnected();
        SendTextLine(b, b.Description() + "\r\n");
        b.SetSourcePeriod(uptime, kTextPeriod);
    });
    board.Handle(kLinkControlGroup, kSetBaudId,
                 [](std::span<const std::uint8_t> request, Board& b) {
                     if (request.size() != 1 || request[0] > kHighestBaudCode) return;
                     b.SetBaudCode(request[0]);
                     b.Send(kLinkControlGroup, kSetBaudId);
                 });
}

}  // namespace zephran::sim
