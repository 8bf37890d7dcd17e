// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/rfc2217_codec.h"

namespace zephran {
namespace {

// Telnet commands and options.
constexpr std::uint8_t kSe = 240, kSb = 250, kWill = 251, kWont = 252, kDo = 253, kDont = 254;
constexpr std::uint8_t kBinary = 0, kSuppressGoAhead = 3;

// Com Port Control commands, client to server; the server answers each with 100 more.
constexpr std::uint8_t kSetBaudRate = 1, kSetDataSize = 2, kSetParity = 3, kSetStopSize = 4,
                       kSetControl = 5;
constexpr std::uint8_t kServerOffset = 100;
constexpr std::uint8_t kParityNone = 1, kOneStopBit = 1, kNoFlowControl = 1;

// Longest subnegotiation kept; longer ones (none that matter here) are read and left.
constexpr std::size_t kMaxSubnegotiation = 64;

void Command(std::vector<std::uint8_t>& out, std::uint8_t verb, std::uint8_t option) {
    out.insert(out.end(), {Rfc2217Codec::kIac, verb, option});
}

void ComPortCommand(std::vector<std::uint8_t>& out, std::uint8_t command,
                    std::span<const std::uint8_t> value) {
    out.insert(out.end(), {Rfc2217Codec::kIac, kSb, Rfc2217Codec::kComPortOption, command});
    Rfc2217Codec::Escape(value, out);
    out.insert(out.end(), {Rfc2217Codec::kIac, kSe});
}

}  // namespace

void Rfc2217Codec::Escape(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& wire) {
    for (const std::uint8_t b : data) {
        wire.push_back(b);
        if (b == kIac) wire.push_back(kIac);
    }
}

std::vector<std::uint8_t> Rfc2217Codec::Opening(unsigned baud) {
    baud_ = baud;
    std::vector<std::uint8_t> out;
    for (const auto& [option, state] :
         {std::pair{kBinary, &binary_}, std::pair{kSuppressGoAhead, &suppressGoAhead_}}) {
        Command(out, kWill, option);
        Command(out, kDo, option);
        state->us = state->them = Side::kAsked;
    }
    Command(out, kWill, kComPortOption);
    comPort_.us = Side::kAsked;
    return out;
}

std::vector<std::uint8_t> Rfc2217Codec::ChangeBaud(unsigned baud) {
    baud_ = baud;
    return ComPortTaken() ? LineSettings() : std::vector<std::uint8_t>{};
}

std::vector<std::uint8_t> Rfc2217Codec::LineSettings() const {
    std::vector<std::uint8_t> out;
    const std::uint8_t rate[4] = {
        static_cast<std::uint8_t>(baud_ >> 24), static_cast<std::uint8_t>(baud_ >> 16),
        static_cast<std::uint8_t>(baud_ >> 8), static_cast<std::uint8_t>(baud_)};
    ComPortCommand(out, kSetBaudRate, rate);
    const std::uint8_t eightBits = 8;
    ComPortCommand(out, kSetDataSize, {&eightBits, 1});
    ComPortCommand(out, kSetParity, {&kParityNone, 1});
    ComPortCommand(out, kSetStopSize, {&kOneStopBit, 1});
    ComPortCommand(out, kSetControl, {&kNoFlowControl, 1});
    return out;
}

Rfc2217Codec::Option* Rfc2217Codec::Known(std::uint8_t option) {
    switch (option) {
        case kBinary:
            return &binary_;
        case kSuppressGoAhead:
            return &suppressGoAhead_;
        case kComPortOption:
            return &comPort_;
        default:
            return nullptr;
    }
}

// Answers only what changes an option's state, so two sides never answer each other forever:
// an answer to our own request is taken silently, and an option we do not know is refused.
void Rfc2217Codec::Negotiate(std::uint8_t verb, std::uint8_t option,
                             std::vector<std::uint8_t>& answers) {
    Option* known = Known(option);
    const bool theirSide = verb == kWill || verb == kWont;
    const bool enable = verb == kWill || verb == kDo;
    if (!known) {
        if (enable) Command(answers, theirSide ? kDont : kWont, option);
        return;
    }
    Side& side = theirSide ? known->them : known->us;
    const std::uint8_t yes = theirSide ? kDo : kWill;
    const std::uint8_t no = theirSide ? kDont : kWont;
    if (enable) {
        if (side == Side::kOff) Command(answers, yes, option);
        const bool newlyOurs = !theirSide && side != Side::kOn;
        side = Side::kOn;
        if (newlyOurs && option == kComPortOption) {
            comPortRefused_ = false;
            const std::vector<std::uint8_t> line = LineSettings();
            answers.insert(answers.end(), line.begin(), line.end());
        }
        return;
    }
    if (side == Side::kOn) Command(answers, no, option);
    if (!theirSide && option == kComPortOption && side != Side::kOff) comPortRefused_ = true;
    side = Side::kOff;
}

void Rfc2217Codec::Subnegotiation() {
    if (subOverflow_ || sub_.size() < 2 || sub_[0] != kComPortOption) return;
    if (sub_[1] == kServerOffset + kSetBaudRate && sub_.size() == 6) {
        reportedBaud_ = static_cast<unsigned>(sub_[2]) << 24 |
                        static_cast<unsigned>(sub_[3]) << 16 | static_cast<unsigned>(sub_[4]) << 8 |
                        sub_[5];
    }
    // Line-state and modem-state notifications and the other answers carry nothing the link uses.
}

void Rfc2217Codec::Receive(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& data,
                           std::vector<std::uint8_t>& answers) {
    for (const std::uint8_t b : bytes) {
        switch (state_) {
            case State::kData:
                if (b == kIac)
                    state_ = State::kIac;
                else
                    data.push_back(b);
                break;
            case State::kIac:
                if (b == kIac) {
                    data.push_back(kIac);
                    state_ = State::kData;
                } else if (b >= kWill && b <= kDont) {
                    verb_ = b;
                    state_ = State::kOption;
                } else if (b == kSb) {
                    sub_.clear();
                    subOverflow_ = false;
                    state_ = State::kSub;
                } else {
                    state_ = State::kData;  // NOP, go-ahead and the like
                }
                break;
            case State::kOption:
                Negotiate(verb_, b, answers);
                state_ = State::kData;
                break;
            case State::kSub:
                if (b == kIac) {
                    state_ = State::kSubIac;
                } else if (sub_.size() < kMaxSubnegotiation) {
                    sub_.push_back(b);
                } else {
                    subOverflow_ = true;
                }
                break;
            case State::kSubIac:
                if (b == kSe) {
                    Subnegotiation();
                    state_ = State::kData;
                } else {
                    // A doubled 0xFF is a value byte; anything else is taken the same way, so a
                    // broken subnegotiation ends at the next IAC SE.
                    if (sub_.size() < kMaxSubnegotiation)
                        sub_.push_back(b);
                    else
                        subOverflow_ = true;
                    state_ = State::kSub;
                }
                break;
        }
    }
}

}  // namespace zephran
