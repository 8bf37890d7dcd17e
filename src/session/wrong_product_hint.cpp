#include "session/wrong_product_hint.h"

#include "session/product_commands.h"

namespace zephran {
namespace {

constexpr std::size_t kLongestBoardText = 120;
// A board that never ends its line fills no more than this.
constexpr std::size_t kLongestFirstLine = 4 * kLongestBoardText;

// The board's text on one line: control characters and runs of blanks become one blank, and
// a long text is cut at a character boundary.
std::string OneLine(const std::string& text) {
    std::string line;
    for (const char c : text) {
        const bool blank = static_cast<unsigned char>(c) <= ' ' || c == '\x7F';
        if (blank) {
            if (!line.empty() && line.back() != ' ') line += ' ';
        } else {
            line += c;
        }
    }
    if (line.size() > kLongestBoardText) {
        std::size_t cut = kLongestBoardText;
        while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80)
            --cut;
        line.resize(cut);
        line += "...";
    }
    if (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

std::string ProductName(const TextSource& texts, std::string_view product) {
    for (const ProductCommand& item : kProductCommands) {
        if (item.product != product) continue;
        const std::string name = texts.LangText("Product Menu", item.textKey);
        if (!name.empty()) return name;
    }
    return std::string(product);
}

}  // namespace

void WrongProductHint::BoardSaid(std::string_view text) {
    for (const char c : text) {
        if (lineEnded_ || boardText_.size() >= kLongestFirstLine) return;
        if (c == '\r' || c == '\n') {
            lineEnded_ = !boardText_.empty();
        } else {
            boardText_ += c;
        }
    }
}

bool WrongProductHint::TimedOut() {
    if (told_ || ++unanswered_ < kTimeOutsInARow) return false;
    told_ = true;
    standing_ = true;
    return true;
}

std::string WrongProductText(const TextSource& texts, std::string_view product,
                             const std::string& boardText) {
    std::string text = AddedText(texts, "Panel", "Wrong Product",
                                 "The board does not answer requests of the product %1. "
                                 "If it is another product, choose that in the %2 menu.");
    text = FillIn(
        text, {ProductName(texts, product), AddedText(texts, "Product Menu", "1000", "Product")});
    if (const std::string said = OneLine(boardText); !said.empty())
        text += " " + FillIn(AddedText(texts, "Panel", "Board Says", "The board says: %1"), {said});
    return text;
}

}  // namespace zephran
