#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/page.h"
#include "pages/parameter_set.h"

namespace zephran {

// A page of six PID controllers of the airplane autopilot: ten boxes and Read, Write and
// Default per controller, each controller a parameter set of its own. The two PID pages differ
// only in their table of controllers.
class CDlgAirplanePID : public Page {
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

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    // The parameter set of controller k of the page.
    ParameterSetBinding& Set(std::size_t k) { return bindings_[k]; }

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;

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

    CDlgAirplanePID(PageHost& host, Identity identity, const Table& table, Sets sets);

    Sets sets_;
    std::vector<ParameterSetBinding> bindings_;
};

}  // namespace zephran
