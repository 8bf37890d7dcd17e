#include "sim/aat_board.h"
#include "sim/aat_tracker.h"
#include "sim/messages.h"
#include "sim/request_handlers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace zephran::sim {
namespace {

using namespace aat;

constexpr int kOffsetLimit = 100;

// P, I, D, integral threshold and integral limit, at offsets 0, 4, 8, 12 and 16.
using Pid = std::array<float, 5>;
constexpr Pid kFactoryPid{200.0f, 0.0f, 100.0f, 3.0f, 100.0f};

// As the tracker leaves the bench: its pitch limits trimmed a little off the factory's zero.
struct Settings {
    std::uint8_t powerOn = 1;  // 0 horizontal, 1 vertical
    std::int8_t horizontalOffset = 4;
    std::int8_t verticalOffset = -7;
    float step = 0.25f;
    Pid pid = kFactoryPid;
    std::int32_t servoGap = 15;
};

bool InRange(std::int8_t offset) {
    return offset >= -kOffsetLimit && offset <= kOffsetLimit;
}

}  // namespace

void InstallAat(Board& board) {
    auto kept = std::make_shared<Settings>();

    OnChange(board, kGroup, kSetPowerOn, 1, [kept](Request r) {
        const std::uint8_t position = GetU8(r, 0);
        if (position > 1) return false;
        kept->powerOn = position;
        return true;
    });

    On(board, kGroup, kReadOffsets, 0, [kept](Request, Board& b) {
        Bytes out;
        PutU8(out, 0, static_cast<std::uint8_t>(kept->horizontalOffset));
        PutU8(out, 1, static_cast<std::uint8_t>(kept->verticalOffset));
        b.Send(kGroup, kReadOffsets, out);
    });
    OnChange(board, kGroup, kSetOffsets, 2, [kept](Request r) {
        const auto horizontal = static_cast<std::int8_t>(GetU8(r, 0));
        const auto vertical = static_cast<std::int8_t>(GetU8(r, 1));
        if (!InRange(horizontal) || !InRange(vertical)) return false;
        kept->horizontalOffset = horizontal;
        kept->verticalOffset = vertical;
        return true;
    });
    OnChange(board, kGroup, kDefaultOffsets, 0, [kept](Request) {
        kept->horizontalOffset = 0;
        kept->verticalOffset = 0;
        return true;
    });

    OnKeptFloat(board, kGroup, kReadStep, kSetStep, kept, &Settings::step,
                [](float step) { return std::isfinite(step); });

    On(board, kGroup, kReadPid, 0, [kept](Request, Board& b) {
        Bytes out;
        for (std::size_t k = 0; k < kept->pid.size(); ++k)
            PutFloat(out, 4 * k, kept->pid[k]);
        b.Send(kGroup, kReadPid, out);
    });
    OnChange(board, kGroup, kSetPid, 20, [kept](Request r) {
        Pid pid{};
        for (std::size_t k = 0; k < pid.size(); ++k)
            pid[k] = GetFloat(r, 4 * k);
        if (!std::ranges::all_of(pid, [](float v) { return std::isfinite(v); })) return false;
        kept->pid = pid;
        return true;
    });
    OnChange(board, kGroup, kDefaultPid, 0, [kept](Request) {
        kept->pid = kFactoryPid;
        return true;
    });

    On(board, kGroup, kReadServoGap, 0, [kept](Request, Board& b) {
        Bytes out;
        PutI32(out, 0, kept->servoGap);
        b.Send(kGroup, kReadServoGap, out);
    });
    OnChange(board, kGroup, kSetServoGap, 4, [kept](Request r) {
        kept->servoGap = GetI32(r, 0);
        return true;
    });

    InstallAatTracker(board);
}

}  // namespace zephran::sim
