#include "pages/data/dlg_data_analyz.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "recording/live_recorder.h"
#include "recording/replay_link.h"
#include "ui/controls.h"

namespace zephran {
namespace {

constexpr const char* kStartText = "Start";
constexpr const char* kStopText = "Stop";

// The record-kind list in its order, with the kind each entry sets.
constexpr std::array<std::pair<const char*, RecordKind>, 4> kKinds{{
    {"None", RecordKind::None},
    {"OSD", RecordKind::Osd},
    {"AHRS", RecordKind::Ahrs},
    {"GPSINS", RecordKind::GpsIns},
}};

// The speed list in its order: its entries' texts, with a language key where they have words.
struct Speed {
    const char* text;
    const char* key;
    int speed;
};
constexpr std::array<Speed, 4> kSpeeds{{
    {"1x", nullptr, 1},
    {"2x", nullptr, 2},
    {"4x", nullptr, 4},
    {"As fast as possible", "IDC_SPEED_FASTEST", ReplayLink::kMaxSpeed},
}};

// The export buttons with their formats.
struct ExportButton {
    int id;
    ExportFormat format;
};
constexpr std::array<ExportButton, 3> kExports{{
    {CDialog_Data_Analyz::kExportCsv, ExportFormat::Csv},
    {CDialog_Data_Analyz::kExportGpx, ExportFormat::Gpx},
    {CDialog_Data_Analyz::kExportKml, ExportFormat::Kml},
}};

ui::Control Disabled(ui::Control control) {
    control.enabled = false;
    return control;
}

ui::WindowTemplate Template() {
    using namespace ui;
    using Page = CDialog_Data_Analyz;
    WindowTemplate t;
    t.controls = {
        GroupBox(Page::kRecordingGroup, "Live Data Recording", "IDC_STATIC_LOG_PROM"),
        Control{.id = Page::kKind, .kind = ControlKind::DropDown, .widthChars = 10},
        Button(Page::kStartStop, kStartText, "IDC_BUTTON_LOG_BEGIN_STOP"),
        Label(Page::kLengthLabel, "Duration:", "IDC_STATIC_LOG_LENGTH"),
        ReadOnlyEdit(Page::kElapsed, 14),
        Button(Page::kOpenFolder, "Open Log Folder", "IDC_BUTTON_OPEN_FOLDER"),
        GroupBox(Page::kPlaybackGroup, "Data Playback", "IDC_STATIC_PROM_DATA_PLAYBACK"),
        Button(Page::kOpenRecording, "Open Recording...", "IDC_BUTTON_OPEN_RECORDING"),
        Control{.id = Page::kRecordingName, .kind = ControlKind::Label, .widthChars = 40},
        Disabled(Button(Page::kPlayPause, "Play", "IDC_BUTTON_PLAY")),
        Disabled(Button(Page::kView, "View", "IDC_BUTTON_VIEW")),
        Control{.id = Page::kSpeed, .kind = ControlKind::DropDown, .widthChars = 18},
        Control{
            .id = Page::kPosition, .kind = ControlKind::Label, .text = "0 / 0", .widthChars = 16},
        Disabled(Button(Page::kExportCsv, "Export CSV", "IDC_BUTTON_EXPORT_CSV")),
        Disabled(Button(Page::kExportGpx, "Export GPX", "IDC_BUTTON_EXPORT_GPX")),
        Disabled(Button(Page::kExportKml, "Export KML", "IDC_BUTTON_EXPORT_KML")),
    };
    t.layout =
        Column({Group(Page::kRecordingGroup,
                      {Row({Item(Page::kKind), Item(Page::kStartStop), Stretch()}),
                       Row({Item(Page::kLengthLabel), Item(Page::kElapsed), Stretch()}),
                       Row({Item(Page::kOpenFolder), Stretch()})}),
                Group(Page::kPlaybackGroup,
                      {Row({Item(Page::kOpenRecording), Item(Page::kRecordingName), Stretch()}),
                       Row({Item(Page::kPlayPause), Item(Page::kView), Item(Page::kSpeed),
                            Item(Page::kPosition), Stretch()}),
                       Row({Item(Page::kExportCsv), Item(Page::kExportGpx), Item(Page::kExportKml),
                            Stretch()})}),
                Stretch()});
    return t;
}

}  // namespace

CDialog_Data_Analyz::CDialog_Data_Analyz(PageHost& host, const PageServices& services,
                                         Identity identity)
    : Page(host, std::move(identity), Template()),
      recorder_(services.recorder),
      replay_(services.replay),
      clock_(services.clock),
      logDir_(services.logDir) {
    recorder_.changed.Connect([this] { ShowState(); });
    replay_.changed.Connect([this] { ShowPlayback(); });
}

void CDialog_Data_Analyz::OnInitDialog() {
    for (const auto& [entry, kind] : kKinds)
        AddString(kKind, entry);
    SetCurSel(kKind, 0);
    ShowSpeeds();
}

void CDialog_Data_Analyz::ShowSpeeds() {
    const int selected = std::max(GetCurSel(kSpeed), 0);
    ResetContent(kSpeed);
    for (const Speed& speed : kSpeeds)
        AddString(kSpeed, speed.key ? Caption(speed.key, speed.text) : speed.text);
    SetCurSel(kSpeed, selected);
}

void CDialog_Data_Analyz::OnSelChange(int id) {
    const int selected = GetCurSel(kSpeed);
    if (id != kSpeed || selected < 0 || selected >= static_cast<int>(kSpeeds.size())) return;
    replay_.SetSpeed(kSpeeds[static_cast<std::size_t>(selected)].speed, clock_.SteadyMs());
}

std::string CDialog_Data_Analyz::PlayPauseCaption() const {
    return replay_.Playing() ? Caption("IDC_BUTTON_PAUSE", "Pause")
                             : Caption("IDC_BUTTON_PLAY", "Play");
}

void CDialog_Data_Analyz::ShowPlayback() {
    const std::string position =
        std::to_string(replay_.Position()) + " / " + std::to_string(replay_.Length());
    if (GetDlgItemText(kPosition) != position) SetDlgItemText(kPosition, position);
    const std::string play = PlayPauseCaption();
    if (GetDlgItemText(kPlayPause) != play) SetDlgItemText(kPlayPause, play);
    if (GetDlgItemText(kRecordingName) != replay_.Path()) {
        SetDlgItemText(kRecordingName, replay_.Path());
        EnableControl(kPlayPause, replay_.Loaded());
        EnableControl(kView, replay_.Loaded());
        for (const ExportButton& button : kExports)
            EnableControl(button.id, replay_.Loaded());
    }
}

void CDialog_Data_Analyz::OpenRecording() {
    const auto path = host_.Host().ChooseFile(
        AddedText(host_.Texts(), "DlgDataAnalyz", "Recording Filter", "Recordings (*.dat)|*.dat"),
        logDir_);
    if (!path) return;
    Recording recording;
    if (!ReadRecording(*path, recording)) {
        host_.Host().MessageBox(CannotReadRecording(*path, host_.Texts()));
        return;
    }
    const std::string damage = DescribeDamage(recording.damage, host_.Texts());
    replay_.Load(*path, std::move(recording));
    if (!damage.empty()) host_.Host().MessageBox(damage);
}

// A host without a save dialog writes beside the recording.
void CDialog_Data_Analyz::Export(ExportFormat format) {
    const auto out = host_.Host().ChooseSaveFile(ExportFilter(format, host_.Texts()),
                                                 ExportPathFor(replay_.Path(), format));
    if (!out) return;
    std::string result;
    ExportRecordingAs(format, replay_.Path(), *out, result, host_.Texts());
    host_.Host().MessageBox(result);
}

void CDialog_Data_Analyz::ApplyTexts() {
    Page::ApplyTexts();
    if (recorder_.Recording()) SetDlgItemText(kStartStop, Caption("IDC_STOP_ALIVE_LOG", kStopText));
    SetDlgItemText(kPlayPause, PlayPauseCaption());
    ShowSpeeds();
}

void CDialog_Data_Analyz::ShowState() {
    const bool recording = recorder_.Recording();
    if (recording != wasRecording_) {
        wasRecording_ = recording;
        SetDlgItemText(kStartStop, recording ? Caption("IDC_STOP_ALIVE_LOG", kStopText)
                                             : Caption("IDC_START_ALIVE_LOG", kStartText));
    }
    if (GetDlgItemText(kElapsed) != recorder_.ElapsedText())
        SetDlgItemText(kElapsed, recorder_.ElapsedText());
}

void CDialog_Data_Analyz::OnCommand(int id) {
    switch (id) {
        case kStartStop: {
            // The recorder's state decides, not the caption, which a language file may give
            // another text at first.
            if (recorder_.Recording()) {
                recorder_.Stop();
                break;
            }
            const int selected = GetCurSel(kKind);
            const RecordKind kind = selected >= 0 && selected < static_cast<int>(kKinds.size())
                                        ? kKinds[static_cast<std::size_t>(selected)].second
                                        : recorder_.Kind();
            recorder_.Start(kind);
            break;
        }
        case kOpenRecording:
            OpenRecording();
            break;
        case kPlayPause:
            if (replay_.Playing()) {
                replay_.Pause();
            } else {
                replay_.Play(clock_.SteadyMs());
            }
            break;
        case kView:
            if (!host_.Host().ViewRecording(replay_.Path(), host_.Texts())) {
                host_.Host().MessageBox(AddedText(host_.Texts(), "DlgDataAnalyz", "No Viewer",
                                                  "The viewer needs the desktop window."));
            }
            break;
        case kExportCsv:
        case kExportGpx:
        case kExportKml:
            Export(std::ranges::find(kExports, id, &ExportButton::id)->format);
            break;
        case kOpenFolder: {
            std::error_code error;
            if (std::filesystem::is_directory(PathFromUtf8(logDir_), error)) {
                host_.Host().OpenFolder(logDir_);
            } else {
                host_.Host().MessageBox("No Log File ");
            }
            break;
        }
        default:
            break;
    }
}

}  // namespace zephran
