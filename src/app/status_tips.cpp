#include "app/status_tips.h"

namespace zephran {

void ApplyStatusTips(ui::StatusBarModel& bar, const TextSource& texts) {
    bar.SetPaneTip(0, AddedText(texts, "Panel", "Tip Status",
                                "Connection and activity: the search for the board, the "
                                "connection, and live data rates"));
    bar.SetPaneTip(1, AddedText(texts, "Panel", "Tip Port", "The serial port in use"));
    bar.SetPaneTip(2, AddedText(texts, "Panel", "Tip bps", "The PC's baud rate"));
    bar.SetPaneTip(3, AddedText(texts, "Panel", "Tip RX",
                                "Frames received from the board with a valid checksum"));
    bar.SetPaneTip(4, AddedText(texts, "Panel", "Tip TX",
                                "Requests sent to the board, including those stopped because no "
                                "board was connected"));
    bar.SetPaneTip(5, AddedText(texts, "Panel", "Tip Progress",
                                "Requests waiting for the board's reply: how long the oldest has "
                                "waited (during a firmware update, how far it has got)"));
}

}  // namespace zephran
