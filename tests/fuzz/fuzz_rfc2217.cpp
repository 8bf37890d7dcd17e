// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes from a bridge through the Com Port Control codec's receive side, once whole
// and once in runs of the lengths the input's first byte picks: both must give the same board
// bytes and answers, and the answers stay within a few bytes per byte received.
#include <algorithm>
#include <cstdlib>
#include <span>
#include <vector>

#include "link/rfc2217_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t run = data[0] % 16 + 1;
    const std::span<const std::uint8_t> stream(data + 1, size - 1);

    zephran::Rfc2217Codec whole;
    whole.Opening(115200);
    std::vector<std::uint8_t> wholeData, wholeAnswers;
    whole.Receive(stream, wholeData, wholeAnswers);

    zephran::Rfc2217Codec pieces;
    pieces.Opening(115200);
    std::vector<std::uint8_t> piecesData, piecesAnswers;
    for (std::size_t at = 0; at < stream.size(); at += run)
        pieces.Receive(stream.subspan(at, std::min(run, stream.size() - at)), piecesData,
                       piecesAnswers);

    // Each received byte is at most one board byte; an option turned off and on again (six
    // bytes) is answered with two commands and the line settings (44 bytes).
    if (wholeData != piecesData || wholeAnswers != piecesAnswers ||
        wholeData.size() > stream.size() || wholeAnswers.size() > 8 * stream.size() + 64)
        std::abort();
    return 0;
}
