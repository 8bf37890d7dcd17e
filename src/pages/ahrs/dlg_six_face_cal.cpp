#include "pages/ahrs/dlg_six_face_cal.h"

#include <string>
#include <vector>

#include "dispatch/reply_dispatcher.h"
#include "link/messages.h"
#include "records/ahrs_units.h"
#include "records/record_store.h"
#include "ui/controls.h"
#include "ui/data_exchange.h"

namespace zephran {
namespace {

enum : int {
    kStepsGroup = 1164,
    kFacesGroup = 1205,
    kCoefficientsGroup = 1212,
    kFirstFaceLabel = 1206,  // to 1211
};

constexpr std::array<int, 3> kOffsetLabels{1144, 1145, 1101};
constexpr std::array<int, 3> kScaleLabels{1146, 1147, 1102};
constexpr const char* kAxes[3] = {"X", "Y", "Z"};

constexpr CDlgSixFaceCal::Config kAccConfig{
    &msg::DL_MINIAHRS_READ_ACC_6FACE,
    &msg::DL_MINIAHRS_READ_ACC_6FACE_CAL,
    &msg::DL_MINIAHRS_READ_ACC_CAL_COF,
    &msg::DL_MINIAHRS_DEFAULT_ACC_CAL_COF,
    {{{1022, 1025, 1028},
      {1023, 1026, 1029},
      {1024, 1027, 1030},
      {1031, 1032, 1033},
      {1148, 1151, 1154},
      {1149, 1152, 1155}}},
    {1216, 1217, 1218},
    {1219, 1220, 1221},
    &RecordStore::acc6Face,
    &RecordStore::accCal,
    kStandardGravity,
    kStandardGravity,
    1.0,  // the stored coefficients' offsets are shown as the board sends them
    "Face readings (g)",
    "按1-7步骤,传感器六个面分别朝下,尽量垂直,静止放置,并读取相应的值,然后点击开始计算,"
    "模组会计算标定值,并返回标定参数",
};

constexpr CDlgSixFaceCal::Config kMagConfig{
    &msg::DL_MINIAHRS_READ_MAG_6FACE,
    &msg::DL_MINIAHRS_READ_MAG_6FACE_CAL,
    &msg::DL_MINIAHRS_READ_MAG_6FACE_CAL_COF,
    &msg::DL_MINIAHRS_DEFAULT_MAG_6FACE_CAL_COF,
    {{{1222, 1223, 1224},
      {1225, 1226, 1227},
      {1228, 1229, 1230},
      {1231, 1232, 1233},
      {1234, 1235, 1236},
      {1237, 1238, 1239}}},
    {1240, 1241, 1242},
    {1243, 1244, 1245},
    &RecordStore::mag6Face,
    &RecordStore::mag6FaceCal,
    1.0,
    1.0,
    1.0,
    "Face readings",
    "按1-7步骤,传感器六个面分别朝北,水平静止放置,并读取相应的值,然后点击开始计算,CPU会计算校准值,"
    "并返回校准参数",
};

// Column headers of the face grid; the board's template has none, so they take ids of their own.
constexpr std::array<int, 3> kAxisHeaders{1900, 1901, 1902};

ui::WindowTemplate Template(const CDlgSixFaceCal::Config& config) {
    using namespace ui;
    WindowTemplate t;
    t.controls.push_back(GroupBox(kStepsGroup, "Steps", "IDC_STATIC_SENSOR_CAL_STAGE_PROM"));
    Control instruction = Label(CDlgSixFaceCal::kInstruction, config.instruction,
                                "IDC_STATIC_SENSOR_CAL_STAGE_DETAIL");
    instruction.multiline = true;
    t.controls.push_back(std::move(instruction));

    // One row a face: its label, x, y, z and its read button.
    t.controls.push_back(
        GroupBox(kFacesGroup, config.facesCaption, "IDC_STATIC_SENSOR_CAL_6_FACE_PROM"));
    // A header row names the axes of the three columns.
    std::vector<LayoutItem> faceCells{Stretch()};
    for (int axis = 0; axis < 3; ++axis) {
        t.controls.push_back(Label(kAxisHeaders[axis], kAxes[axis]));
        faceCells.push_back(Item(kAxisHeaders[axis]));
    }
    faceCells.push_back(Stretch());
    for (int face = 0; face < 6; ++face) {
        const std::string number = std::to_string(face + 1);
        const int label = kFirstFaceLabel + face;
        const int button = CDlgSixFaceCal::kFaceButtons[face];
        t.controls.push_back(Label(label, "Face " + number, "IDC_STATIC_FACE" + number));
        faceCells.push_back(Item(label));
        for (int box : config.faceBoxes[face]) {
            t.controls.push_back(ReadOnlyEdit(box, 10));
            faceCells.push_back(Item(box));
        }
        t.controls.push_back(
            Button(button, "Read face " + number, "IDC_BUTTON_READ_FACE" + number));
        faceCells.push_back(Item(button));
    }

    t.controls.push_back(
        GroupBox(kCoefficientsGroup, "Coefficients", "IDC_STATIC_SENSOR_CAL_PROM"));
    std::vector<LayoutItem> coefficientCells;
    const auto coefficientRow = [&](const char* caption, const char* kind,
                                    const std::array<int, 3>& labels,
                                    const std::array<int, 3>& boxes) {
        for (int axis = 0; axis < 3; ++axis) {
            t.controls.push_back(Label(labels[axis], std::string(caption) + " " + kAxes[axis],
                                       std::string("IDC_STATIC_MAG") + kAxes[axis] + "_" + kind));
            t.controls.push_back(ReadOnlyEdit(boxes[axis], 10));
            coefficientCells.push_back(Item(labels[axis]));
            coefficientCells.push_back(Item(boxes[axis]));
        }
    };
    coefficientRow("Offset", "OFFSET", kOffsetLabels, config.offsetBoxes);
    coefficientRow("Scale", "SCALE", kScaleLabels, config.scaleBoxes);

    t.controls.push_back(
        Button(CDlgSixFaceCal::kStartCal, "Start calculation", "IDC_BUTTON_START_CAL"));
    t.controls.push_back(
        Button(CDlgSixFaceCal::kReadCal, "Read coefficients", "IDC_BUTTON_READ_CAL"));
    t.controls.push_back(Button(CDlgSixFaceCal::kDefault, "Default", "IDC_BUTTON_SET_DEFAULT"));

    t.layout = Column({
        Group(kStepsGroup, {Item(CDlgSixFaceCal::kInstruction)}),
        Group(kFacesGroup, {Grid(5, std::move(faceCells))}),
        Group(kCoefficientsGroup, {Grid(6, std::move(coefficientCells))}),
        Row({Item(CDlgSixFaceCal::kStartCal), Item(CDlgSixFaceCal::kReadCal),
             Item(CDlgSixFaceCal::kDefault), Stretch()}),
        Stretch(),
    });
    return t;
}

}  // namespace

namespace {

std::vector<int> FaceBoxes(const CDlgSixFaceCal::Config& config) {
    std::vector<int> boxes;
    for (const auto& face : config.faceBoxes)
        boxes.insert(boxes.end(), face.begin(), face.end());
    return boxes;
}

std::vector<int> CoefficientBoxes(const CDlgSixFaceCal::Config& config) {
    std::vector<int> boxes(config.offsetBoxes.begin(), config.offsetBoxes.end());
    boxes.insert(boxes.end(), config.scaleBoxes.begin(), config.scaleBoxes.end());
    return boxes;
}

}  // namespace

CDlgSixFaceCal::CDlgSixFaceCal(PageHost& host, Identity identity, const Config& config)
    : Page(host, std::move(identity), Template(config)),
      config_(config),
      faceValues_("Faces", *this, FaceBoxes(config)),
      coefficientValues_("Coefficients", *this, CoefficientBoxes(config)) {
    TrackValues(faceValues_);
    TrackValues(coefficientValues_);
}

CDlgAcc6FaceCal::CDlgAcc6FaceCal(PageHost& host, Identity identity)
    : CDlgSixFaceCal(host, std::move(identity), kAccConfig) {}

CDlgMag6FaceCal::CDlgMag6FaceCal(PageHost& host, Identity identity)
    : CDlgSixFaceCal(host, std::move(identity), kMagConfig) {}

void CDlgSixFaceCal::DoDataExchange(ui::DataExchange& dx) {
    for (int face = 0; face < 6; ++face) {
        for (int axis = 0; axis < 3; ++axis)
            dx.Text(config_.faceBoxes[face][axis], faces[face][axis]);
    }
    for (int axis = 0; axis < 3; ++axis)
        dx.Text(config_.offsetBoxes[axis], offset[axis]);
    for (int axis = 0; axis < 3; ++axis)
        dx.Text(config_.scaleBoxes[axis], scale[axis]);
}

void CDlgSixFaceCal::OnCommand(int id) {
    for (std::uint8_t face = 0; face < kFaceButtons.size(); ++face) {
        if (kFaceButtons[face] == id) {
            Send(*config_.readFaceMsg, {&face, 1});
            return;
        }
    }
    if (id == kStartCal) Send(*config_.computeMsg);
    if (id == kReadCal) Send(*config_.readCoefficientsMsg);
    // The board resets its coefficients without reporting them.
    if (id == kDefault && Send(*config_.defaultMsg)) coefficientValues_.Outdated();
}

void CDlgSixFaceCal::TakeCoefficients(double offsetDivisor) {
    const CoefficientRecord& record = host_.Records().*config_.coefficients;
    for (int axis = 0; axis < 3; ++axis) {
        offset[axis] = static_cast<float>(record.offset[axis] / offsetDivisor);
        scale[axis] = record.scale[axis];
    }
}

void CDlgSixFaceCal::RegisterReplies(ReplyDispatcher& dispatcher) {
    dispatcher.Route(*config_.readFaceMsg, [this](const ReceiveArea&) {
        const SixFaceRecord& record = host_.Records().*config_.faces;
        for (int face = 0; face < 6; ++face) {
            for (int axis = 0; axis < 3; ++axis) {
                faces[face][axis] =
                    static_cast<float>(record.face[face][axis] / config_.faceDivisor);
            }
        }
        faceValues_.Reported();
        UpdateData(false);
    });
    const auto coefficientsReply = [this, &dispatcher](const Message& message,
                                                       double offsetDivisor) {
        dispatcher.Route(message, [this, offsetDivisor](const ReceiveArea&) {
            TakeCoefficients(offsetDivisor);
            coefficientValues_.Reported();
            UpdateData(false);
        });
    };
    coefficientsReply(*config_.computeMsg, config_.computedOffsetDivisor);
    coefficientsReply(*config_.readCoefficientsMsg, config_.storedOffsetDivisor);
}

}  // namespace zephran
