#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/page.h"
#include "pages/autopilot/pid_records.h"

namespace zephran {

// A page of six PID controllers of the airplane autopilot: ten boxes and Read, Write and
// Default per controller. The two PID pages differ only in their table of controllers.
class CDlgAirplanePID : public Page {
public:
    // The boxes of a controller, in the order they are taken into the fields.
    enum Field : int {
        kTotalP,
        kP,
        kI,
        kD,
        kIThreshold,
        kMaxI,
        kInSlew,
        kOutSlew,
        kDP,
        kOutMax,
        kFieldCount
    };

    struct Controller {
        std::uint8_t readMsg;  // the write and the default follow it
        int firstId;           // the group box; its labels, boxes and buttons follow it
        const char* stem;      // of the language keys, as "ROLLRATE"
        const char* caption;
        const char* maxIKey = nullptr;  // replaces the page's integral-limit key suffix

        int Label(Field field) const { return firstId + 1 + field; }
        int Box(Field field) const { return firstId + 1 + kFieldCount + field; }
        int ReadButton() const { return firstId + 1 + 2 * kFieldCount; }
        int WriteButton() const { return ReadButton() + 1; }
        int DefaultButton() const { return ReadButton() + 2; }
    };
    // A box's label: its language-key suffix after the stem, and its caption.
    struct FieldLabel {
        const char* key;
        const char* caption;
    };
    struct Table {
        std::array<Controller, 6> controllers;
        std::array<FieldLabel, kFieldCount> labels;
    };

    struct Values {
        float totalP = 0;
        std::uint8_t p = 0;
        std::uint8_t i = 0;
        std::uint8_t d = 0;
        float iThreshold = 0;
        float maxI = 0;
        float inSlew = 0;
        float outSlew = 0;
        float dp = 0;
        float outMax = 0;
    };

    CDlgAirplanePID(PageHost& host, Identity identity, const Table& table);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    std::array<Values, 6> values{};

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;

private:
    PidSetRecord& RecordOf(const Controller& controller);
    void Write(std::size_t index);

    const Table& table_;
};

}  // namespace zephran
