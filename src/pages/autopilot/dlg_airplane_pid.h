#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "pages/framework/parameter_page.h"

namespace zephran {

// A page of six PID controllers of the airplane autopilot: ten boxes and Read, Write and
// Default per controller, each controller a parameter set of its own. Every box of the page is
// taken in on a write, but only the pressed controller's record goes out. The two PID pages
// differ only in their table of controllers.
class CDlgAirplanePID : public ParameterPage {
public:
    // The boxes of a controller, in record order.
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
        const Message* read;
        const Message* write;
        const Message* reset;
        int firstId;       // the group box; its labels, boxes and buttons follow it
        const char* stem;  // of the language keys, as "ROLLRATE"
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

    CDlgAirplanePID(PageHost& host, Identity identity, const Table& table);

private:
    // A controller's fields with their language keys, and its set over its PID set record.
    struct ControllerSet {
        ControllerSet(const Table& table, const Controller& c);
        std::array<std::string, kFieldCount> keys;
        std::array<ParameterField, kFieldCount> fields;
        ParameterSet set;
    };
    using Sets = std::vector<std::unique_ptr<ControllerSet>>;
    static Sets MakeSets(const Table& table);
    static ui::WindowTemplate Template(const Table& table, const Sets& sets);
    static std::vector<const ParameterSet*> SetsOf(const Sets& sets);

    CDlgAirplanePID(PageHost& host, Identity identity, const Table& table, Sets sets);

    Sets controllerSets_;
};

// A PID page of its own table.
template <const CDlgAirplanePID::Table& kControllers>
class AirplanePidPage : public CDlgAirplanePID {
public:
    static constexpr const Table& kTable = kControllers;
    AirplanePidPage(PageHost& host, Identity identity)
        : CDlgAirplanePID(host, std::move(identity), kControllers) {}
};

// The attitude loops: the three angular rates and the three angles to the control surfaces.
extern const CDlgAirplanePID::Table kInnerLoopControllers;
using CDlgAirplanePIDInnerLoop = AirplanePidPage<kInnerLoopControllers>;

// The navigation loops: heading, height, climb rate and speed.
extern const CDlgAirplanePID::Table kOuterLoopControllers;
using CDlgAirplaneOuterLoop = AirplanePidPage<kOuterLoopControllers>;

}  // namespace zephran
