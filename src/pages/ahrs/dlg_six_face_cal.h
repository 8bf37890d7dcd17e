#pragma once

#include <array>
#include <cstdint>

#include "pages/framework/page.h"
#include "records/ahrs_records.h"

namespace zephran {

struct RecordStore;

// A six-face calibration: the board samples each face on request and computes offsets and
// scales from the six; the page requests, converts units for display and shows.
class CDlgSixFaceCal : public Page {
public:
    enum : int { kStartCal = 1214, kReadCal = 1215, kDefault = 1105, kInstruction = 1165 };
    // The read buttons of faces 1 to 6; each sends its face's index, 0 to 5.
    static constexpr std::array<int, 6> kFaceButtons{1213, 1129, 1130, 1163, 1137, 1135};

    // What tells the sensors' pages apart.
    struct Config {
        const Message* readFaceMsg;
        const Message* computeMsg;
        const Message* readCoefficientsMsg;
        const Message* defaultMsg;
        std::array<std::array<int, 3>, 6> faceBoxes;  // face by face, x, y, z
        std::array<int, 3> offsetBoxes;
        std::array<int, 3> scaleBoxes;
        SixFaceRecord RecordStore::*faces;
        CoefficientRecord RecordStore::*coefficients;
        // Divisors of the displayed values: face readings, offsets of the computation's result,
        // offsets of the stored coefficients. Scales are shown as the board sends them.
        double faceDivisor;
        double computedOffsetDivisor;
        double storedOffsetDivisor;
        const char* facesCaption;
        const char* instruction;
    };

    CDlgSixFaceCal(PageHost& host, Identity identity, const Config& config);

    void RegisterReplies(ReplyDispatcher& dispatcher) override;

    std::array<std::array<float, 3>, 6> faces{};
    std::array<float, 3> offset{};
    std::array<float, 3> scale{1.0f, 1.0f, 1.0f};

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnCommand(int id) override;

private:
    void TakeCoefficients(double offsetDivisor);

    const Config& config_;
    ValueState faceValues_;
    ValueState coefficientValues_;
};

// The accelerometer's: readings and computed offsets in m/s², shown in g.
class CDlgAcc6FaceCal : public CDlgSixFaceCal {
public:
    CDlgAcc6FaceCal(PageHost& host, Identity identity);
};

// The magnetometer's: everything shown as the board sends it.
class CDlgMag6FaceCal : public CDlgSixFaceCal {
public:
    CDlgMag6FaceCal(PageHost& host, Identity identity);
};

}  // namespace zephran
