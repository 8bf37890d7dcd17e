#pragma once

#include <string>
#include <string_view>

#include "link/text_source.h"

namespace zephran {

// Notices a board that answers none of the selected product's requests: three of them in a row
// timed out with no reply between them. It is told once for each opening of the port, which may
// find another board.
class WrongProductHint {
public:
    static constexpr int kTimeOutsInARow = 3;

    // The port was opened: counting starts over, the hint may be told again, and nothing was
    // heard from the board yet.
    void Reset() { *this = {}; }
    // A text frame of the board. Its first line, which names the board, is kept.
    void BoardSaid(std::string_view text);
    const std::string& BoardText() const { return boardText_; }
    // The board answered a request of the product, or another product was chosen: counting
    // starts over and the hint gives up the status pane.
    void StartOver() {
        unanswered_ = 0;
        standing_ = false;
    }
    // A request of the product timed out; true when the hint is to be told now.
    bool TimedOut();
    // Told, and nothing started over since: the hint keeps the status pane.
    bool Standing() const { return standing_; }

private:
    int unanswered_ = 0;
    bool told_ = false;
    bool standing_ = false;
    std::string boardText_;
    bool lineEnded_ = false;
};

// The hint's text: the product selected by its menu text, where to change it, and what the
// board said of itself on its text stream, if anything.
std::string WrongProductText(const TextSource& texts, std::string_view product,
                             const std::string& boardText);

}  // namespace zephran
