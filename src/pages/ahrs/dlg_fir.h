#pragma once

#include <array>
#include <string>

#include "app/page.h"
#include "pages/ahrs/ahrs_records.h"

namespace zephran {

// The FIR filters of the three sensors: tap count and coefficients, read, written and reset.
class CDlgFIR : public Page {
public:
    enum Sensor { kGyro = 0, kAcc = 1, kMag = 2 };

    struct Filter {
        int taps = 0;
        std::string coefficients;
    };

    CDlgFIR(PageHost& host, Identity identity);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    // The controls of one sensor's column.
    struct Column {
        int group, tapsLabel, taps, hint, coefficients, read, write, reset;
        std::uint8_t readMsg, writeMsg, defaultMsg;
    };
    static const std::array<Column, 3> kColumns;

    std::array<Filter, 3> filters;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;

private:
    void Write(Sensor sensor);
    FirRecord& RecordOf(Sensor sensor);
};

// The coefficients of a text: tokens between commas (runs of commas are one separator), each
// read as a decimal integer the way atoi does, at most 32, keeping the low 16 bits. Returns
// how many tokens were found.
std::size_t ParseFirCoefficients(const std::string& text, std::int16_t (&coefficients)[32]);

}  // namespace zephran
