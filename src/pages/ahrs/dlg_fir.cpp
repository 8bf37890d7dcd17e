#include "pages/ahrs/dlg_fir.h"

#include "link/messages.h"
#include "link/text_source.h"
#include "ui/controls.h"

namespace zephran {

constexpr std::array<CDlgFIR::Column, 3> CDlgFIR::kColumns{{
    {1196, 1197, 1190, 1198, 1193, 1129, 1130, 1131},
    {1199, 1201, 1191, 1203, 1194, 1132, 1133, 1134},
    {1200, 1202, 1192, 1204, 1195, 1135, 1136, 1137},
}};

namespace {

constexpr const char* kHint = "FIR Coef:signed 16bit integer,separate by ','";
constexpr std::array<const char*, 3> kTitles{"Gyro FIR", "Acc FIR", "Mag FIR"};
constexpr std::array<const char*, 3> kSensorKeys{"GYRO", "ACC", "MAG"};  // in the language keys
constexpr std::array<const char*, 3> kTapsKeys{"IDC_STATIC_TAPS_GYRO", "IDC_STATIC_TAPS_ACC",
                                               "IDC_STATIC_TAPS_MAG"};

// A filter's record: leading byte, tap count, 32 coefficients.
constexpr std::array<ParameterField, 2> Fields(CDlgFIR::Sensor sensor) {
    const CDlgFIR::Column& c = CDlgFIR::kColumns[sensor];
    return {{{.name = "taps",
              .offset = 1,
              .type = FieldType::kCount,
              .box = c.taps,
              .label = c.tapsLabel,
              .caption = "Taps",
              .key = kTapsKeys[sensor],
              .width = 6,
              .description =
                  [](const TextSource& texts) {
                      return AddedText(texts, "FieldTips", "FIR Taps",
                                       "How many coefficients the board's filter uses");
                  }},
             {.name = "coefficients",
              .offset = 2,
              .type = FieldType::kCoefficients,
              .box = c.coefficients,
              .width = 24,
              .description = [](const TextSource& texts) {
                  return AddedText(texts, "FieldTips", "FIR Coefficients",
                                   "The filter's coefficients, signed 16-bit");
              }}}};
}
constexpr std::array<std::array<ParameterField, 2>, 3> kFields{
    {Fields(CDlgFIR::kGyro), Fields(CDlgFIR::kAcc), Fields(CDlgFIR::kMag)}};

constexpr ParameterSet Filter(CDlgFIR::Sensor sensor, const char* name, AddedTextOf caption,
                              const Message& read, const Message& write, const Message& reset,
                              ReplyRecord record) {
    const CDlgFIR::Column& c = CDlgFIR::kColumns[sensor];
    return {.name = name,
            .caption = caption,
            .requests = {&read, &write, &reset},
            .buttons = {c.read, c.write, c.reset},
            .record = record,
            .leadingByte = true,
            .fields = kFields[sensor]};
}

ui::WindowTemplate Template() {
    using namespace ui;
    WindowTemplate t;
    std::vector<LayoutItem> columns;
    for (std::size_t i = 0; i < 3; ++i) {
        const CDlgFIR::Column& c = CDlgFIR::kColumns[i];
        const std::string s = kSensorKeys[i];
        t.controls.push_back(GroupBox(c.group, kTitles[i], "IDC_STATIC_" + s + "_FIR_PROM"));
        t.controls.push_back(Label(c.hint, kHint, "IDC_STATIC_" + s + "_FIR_COF_PROM"));
        const std::vector<LayoutItem> cells =
            ParameterSetBinding::AddControls(CDlgFIR::kFilters[i], t);
        const ButtonCaptions captions = ButtonCaptions::ReadWriteDefault(
            "IDC_BUTTON_READ_" + s + "_FIR", "IDC_BUTTON_WRITE_" + s + "_FIR",
            "IDC_BUTTON_DEFAULT_" + s + "_FIR");
        columns.push_back(Group(
            c.group, {Row({cells[0], cells[1], Stretch()}), Item(c.hint), cells[2],
                      Row(ParameterSetBinding::AddButtons(CDlgFIR::kFilters[i], t, captions))}));
    }
    t.layout = Column({Row(std::move(columns)), Stretch()});
    return t;
}

}  // namespace

const std::array<ParameterSet, 3> CDlgFIR::kFilters{{
    Filter(
        kGyro, "Gyro FIR",
        [](const TextSource& texts) {
            return AddedText(texts, "ParameterSets", "Gyro FIR", "Gyro FIR");
        },
        msg::DL_MINIAHRS_READ_FIR_GYRO, msg::DL_MINIAHRS_SET_FIR_GYRO,
        msg::DL_MINIAHRS_DEFAULT_FIR_GYRO, ReplyRecord::kFirGyro),
    Filter(
        kAcc, "Acc FIR",
        [](const TextSource& texts) {
            return AddedText(texts, "ParameterSets", "Acc FIR", "Acc FIR");
        },
        msg::DL_MINIAHRS_READ_FIR_ACC, msg::DL_MINIAHRS_SET_FIR_ACC,
        msg::DL_MINIAHRS_DEFAULT_FIR_ACC, ReplyRecord::kFirAcc),
    Filter(
        kMag, "Mag FIR",
        [](const TextSource& texts) {
            return AddedText(texts, "ParameterSets", "Mag FIR", "Mag FIR");
        },
        msg::DL_MINIAHRS_READ_FIR_MAG, msg::DL_MINIAHRS_SET_FIR_MAG,
        msg::DL_MINIAHRS_DEFAULT_FIR_MAG, ReplyRecord::kFirMag),
}};

CDlgFIR::CDlgFIR(PageHost& host, Identity identity)
    : ParameterPage(host, std::move(identity), Template(),
                    {&kFilters[kGyro], &kFilters[kAcc], &kFilters[kMag]}) {}

// A box that does not parse changes nothing and sends nothing; a tap count outside 0..32 is
// refused with "Err Taps" and nothing is sent.
void CDlgFIR::OnCommand(int id) {
    for (ParameterSetBinding& filter : sets_) {
        if (id != filter.Set().buttons.write) continue;
        if (!UpdateData(true)) return;
        const double taps = filter.Value("taps").number;
        if (taps < 0 || taps > 32) {
            host_.Host().MessageBox("Err Taps");
        } else {
            filter.SendWrite();
        }
        return;
    }
    ParameterPage::OnCommand(id);
}

}  // namespace zephran
