#include "views/dlg_data_analyz.h"

#include <array>
#include <filesystem>

#include "ui/controls.h"
#include "views/live_recorder.h"

namespace zephran {
namespace {

constexpr const char* kSection = "DlgDataAnalyz";

// The record-kind list in its order, with the kind each entry sets.
constexpr std::array<std::pair<const char*, RecordKind>, 4> kKinds{{
    {"None", RecordKind::None},
    {"OSD", RecordKind::Osd},
    {"AHRS", RecordKind::Ahrs},
    {"GPSINS", RecordKind::GpsIns},
}};

ui::WindowTemplate Template() {
    using namespace ui;
    using Page = CDialog_Data_Analyz;
    WindowTemplate t;
    t.controls = {
        GroupBox(Page::kRecordingGroup, "Live Data Recording", "IDC_STATIC_LOG_PROM"),
        Control{.id = Page::kKind, .kind = ControlKind::DropDown, .widthChars = 10},
        Button(Page::kStartStop, "Start", "IDC_BUTTON_LOG_BEGIN_STOP"),
        Label(Page::kLengthLabel, "Duration:", "IDC_STATIC_LOG_LENGTH"),
        ReadOnlyEdit(Page::kElapsed, 14),
        Button(Page::kOpenFolder, "Open Log Folder", "IDC_BUTTON_OPEN_FOLDER"),
        GroupBox(Page::kPlaybackGroup, "Data Playback", "IDC_STATIC_PROM_DATA_PLAYBACK"),
    };
    t.layout = Column({Group(Page::kRecordingGroup,
                             {Row({Item(Page::kKind), Item(Page::kStartStop), Stretch()}),
                              Row({Item(Page::kLengthLabel), Item(Page::kElapsed), Stretch()}),
                              Row({Item(Page::kOpenFolder), Stretch()})}),
                       Group(Page::kPlaybackGroup, {}), Stretch()});
    return t;
}

}  // namespace

CDialog_Data_Analyz::CDialog_Data_Analyz(PageHost& host, Identity identity)
    : Page(host, std::move(identity), Template()), recorder_(host.Recorder()) {
    recorder_.changed.Connect([this] { ShowState(); });
}

void CDialog_Data_Analyz::OnInitDialog() {
    for (const auto& [entry, kind] : kKinds)
        AddString(kKind, entry);
    SetCurSel(kKind, 0);
}

void CDialog_Data_Analyz::ApplyTexts() {
    Page::ApplyTexts();
    if (recorder_.Recording() && host_.LanguageChosen())
        SetDlgItemText(kStartStop, host_.Texts().LangText(kSection, "IDC_STOP_ALIVE_LOG"));
}

void CDialog_Data_Analyz::ShowState() {
    const bool recording = recorder_.Recording();
    if (recording != wasRecording_) {
        wasRecording_ = recording;
        SetDlgItemText(kStartStop,
                       host_.Texts().LangText(
                           kSection, recording ? "IDC_STOP_ALIVE_LOG" : "IDC_START_ALIVE_LOG"));
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
        case kOpenFolder: {
            std::error_code error;
            if (std::filesystem::is_directory(host_.LogDir(), error)) {
                host_.Host().OpenFolder(host_.LogDir());
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
