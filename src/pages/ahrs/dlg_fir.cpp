#include "pages/ahrs/dlg_fir.h"

#include <cctype>
#include <cstdlib>

#include "dispatch/reply_dispatcher.h"
#include "pages/ahrs/ahrs_messages.h"
#include "pages/record_copy.h"
#include "pages/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {

const std::array<CDlgFIR::Column, 3> CDlgFIR::kColumns{{
    {1196, 1197, 1190, 1198, 1193, 1129, 1130, 1131, DL_MINIAHRS_READ_FIR_GYRO,
     DL_MINIAHRS_SET_FIR_GYRO, DL_MINIAHRS_DEFAULT_FIR_GYRO},
    {1199, 1201, 1191, 1203, 1194, 1132, 1133, 1134, DL_MINIAHRS_READ_FIR_ACC,
     DL_MINIAHRS_SET_FIR_ACC, DL_MINIAHRS_DEFAULT_FIR_ACC},
    {1200, 1202, 1192, 1204, 1195, 1135, 1136, 1137, DL_MINIAHRS_READ_FIR_MAG,
     DL_MINIAHRS_SET_FIR_MAG, DL_MINIAHRS_DEFAULT_FIR_MAG},
}};

namespace {

constexpr const char* kHint = "FIR Coef:signed 16bit integer,separate by ','";

struct ColumnTexts {
    const char* title;
    const char* sensorKey;  // GYRO, ACC or MAG in the language keys
};
constexpr ColumnTexts kTexts[3] = {{"Gyro FIR", "GYRO"}, {"Acc FIR", "ACC"}, {"Mag FIR", "MAG"}};

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    std::vector<LayoutItem> columns;
    for (std::size_t i = 0; i < 3; ++i) {
        const CDlgFIR::Column& c = CDlgFIR::kColumns[i];
        const std::string s = kTexts[i].sensorKey;
        t.controls.push_back(GroupBox(c.group, kTexts[i].title, "IDC_STATIC_" + s + "_FIR_PROM"));
        t.controls.push_back(Label(c.tapsLabel, "Taps", "IDC_STATIC_TAPS_" + s));
        t.controls.push_back(Edit(c.taps, 6));
        t.controls.push_back(Label(c.hint, kHint, "IDC_STATIC_" + s + "_FIR_COF_PROM"));
        t.controls.push_back(TextBox(c.coefficients, false, 24));
        t.controls.push_back(Button(c.read, "Read", "IDC_BUTTON_READ_" + s + "_FIR"));
        t.controls.push_back(Button(c.write, "Write", "IDC_BUTTON_WRITE_" + s + "_FIR"));
        t.controls.push_back(Button(c.reset, "Default", "IDC_BUTTON_DEFAULT_" + s + "_FIR"));
        columns.push_back(Group(
            c.group, {Row({Item(c.tapsLabel), Item(c.taps), Stretch()}), Item(c.hint),
                      Item(c.coefficients), Row({Item(c.read), Item(c.write), Item(c.reset)})}));
    }
    t.layout = Column({Row(std::move(columns)), Stretch()});
    return t;
}

}  // namespace

std::size_t ParseFirCoefficients(const std::string& text, std::int16_t (&coefficients)[32]) {
    std::size_t count = 0;
    std::size_t start = 0;
    while (start <= text.size() && count < 32) {
        auto end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        if (end > start) {
            const std::string token = text.substr(start, end - start);
            const long long value = std::strtoll(token.c_str(), nullptr, 10);
            coefficients[count++] =
                static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
        }
        start = end + 1;
    }
    return count;
}

CDlgFIR::CDlgFIR(PageHost& host, Identity identity) : Page(host, std::move(identity), Template()) {}

FirRecord& CDlgFIR::RecordOf(Sensor sensor) {
    RecordStore& records = host_.Records();
    return sensor == kGyro ? records.firGyro : sensor == kAcc ? records.firAcc : records.firMag;
}

void CDlgFIR::DoDataExchange(ui::DataExchange& dx) {
    for (std::size_t i = 0; i < 3; ++i) {
        dx.Text(kColumns[i].taps, filters[i].taps);
        dx.Text(kColumns[i].coefficients, filters[i].coefficients);
    }
}

void CDlgFIR::Write(Sensor sensor) {
    UpdateData(true);
    const Filter& filter = filters[sensor];
    if (filter.taps < 0 || filter.taps > 32) {
        host_.Host().MessageBox("Err Taps");
        return;
    }
    FirRecord& record = RecordOf(sensor);
    record.taps = static_cast<std::uint8_t>(filter.taps);
    if (filter.taps > 0) {
        std::int16_t parsed[32];
        const std::size_t count = ParseFirCoefficients(filter.coefficients, parsed);
        for (std::size_t i = 0; i < count; ++i)
            record.coefficients[i] = parsed[i];
        for (int i = filter.taps; i < 32; ++i)
            record.coefficients[i] = 0;
    }
    SendRecord(kAhrsGroup, kColumns[sensor].writeMsg, record);
}

void CDlgFIR::OnCommand(int id) {
    for (std::size_t i = 0; i < 3; ++i) {
        const Column& c = kColumns[i];
        if (id == c.read) Send(kAhrsGroup, c.readMsg);
        if (id == c.write) Write(static_cast<Sensor>(i));
        if (id == c.reset) Send(kAhrsGroup, c.defaultMsg);
    }
}

void CDlgFIR::RegisterReplies(ReplyDispatcher& dispatcher) {
    for (std::size_t i = 0; i < 3; ++i) {
        const auto sensor = static_cast<Sensor>(i);
        dispatcher.Route(
            kAhrsGroup, kColumns[i].readMsg,
            [this, sensor](const ReceiveArea& frame) {
                FirRecord& record = RecordOf(sensor);
                CopyPayload(record, frame);
                Filter& filter = filters[sensor];
                filter.taps = record.taps;
                filter.coefficients.clear();
                for (int k = 0; k < 32; ++k) {
                    if (k > 0) filter.coefficients += ",";
                    filter.coefficients += std::to_string(record.coefficients[k]);
                }
                UpdateData(false);
            },
            true);
    }
}

}  // namespace zephran
