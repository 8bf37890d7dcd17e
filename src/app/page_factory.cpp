#include "app/page_factory.h"

#include <functional>
#include <map>
#include <type_traits>

#include "pages/ahrs/dlg_ahrs.h"
#include "pages/ahrs/dlg_ahrs_setting.h"
#include "pages/ahrs/dlg_fir.h"
#include "pages/ahrs/dlg_sensor_calibrate.h"
#include "pages/ahrs/dlg_six_face_cal.h"
#include "pages/autopilot/dlg_airplane_outer_loop.h"
#include "pages/autopilot/dlg_airplane_pid_inner_loop.h"
#include "pages/autopilot/dlg_gpsins_setting.h"
#include "pages/autopilot/dlg_gpsins_setting_misc.h"
#include "pages/autopilot/dlg_gpsins_view.h"
#include "pages/autopilot/dlg_heli_page.h"
#include "pages/autopilot/dlg_multicopter_misc.h"
#include "pages/data/dlg_data_analyz.h"
#include "pages/osd_tracker/dlg_aat_communicate.h"
#include "pages/osd_tracker/dlg_aat_servo_set.h"
#include "pages/osd_tracker/dlg_calibrate.h"
#include "pages/osd_tracker/dlg_osd.h"
#include "pages/osd_tracker/mag_cal_dlg.h"
#include "pages/update/dlg_iap_update.h"

namespace zephran {
namespace {

Page::Identity IdentityOf(const PageIdentity& identity) {
    return {std::string(identity.className),
            std::string(identity.treeKey),
            std::string(identity.section),
            identity.liveCode,
            identity.titled,
            std::string(identity.builtInTitle)};
}

// A page whose controls are still to come.
class TitlePage : public Page {
public:
    TitlePage(PageHost& host, const PageIdentity& identity)
        : Page(host, IdentityOf(identity), {{}, {}, ui::Column({})}) {}
};

// A page made with the services it takes, if it takes any.
template <typename PageClass>
std::unique_ptr<Page> Make(PageHost& host, const PageServices& services,
                           const PageIdentity& identity) {
    if constexpr (std::is_constructible_v<PageClass, PageHost&, const PageServices&,
                                          Page::Identity>) {
        return std::make_unique<PageClass>(host, services, IdentityOf(identity));
    } else {
        return std::make_unique<PageClass>(host, IdentityOf(identity));
    }
}

// A helicopter page, made from its design.
template <const HeliPageDesign& design>
std::unique_ptr<Page> MakeHeli(PageHost& host, const PageServices&, const PageIdentity& identity) {
    return std::make_unique<CDlgHeliPage>(host, IdentityOf(identity), design);
}

}  // namespace

std::unique_ptr<Page> CreatePage(PageHost& host, const PageServices& services,
                                 const PageIdentity& identity) {
    using Factory = std::unique_ptr<Page> (*)(PageHost&, const PageServices&, const PageIdentity&);
    static const std::map<std::string_view, Factory> pages{
        {"CDlgAHRS", &Make<CDlgAHRS>},
        {"COSD", &Make<COSD>},
        {"CCalibrateDlg", &Make<CCalibrateDlg>},
        {"CAATServoSet", &Make<CAATServoSet>},
        {"CDlgAHRSSetting", &Make<CDlgAHRSSetting>},
        {"CDlgFIR", &Make<CDlgFIR>},
        {"CDlgSensorCalibrate", &Make<CDlgSensorCalibrate>},
        {"CDlgAcc6FaceCal", &Make<CDlgAcc6FaceCal>},
        {"CDlgMag6FaceCal", &Make<CDlgMag6FaceCal>},
        {"CDlgAirplanePIDInnerLoop", &Make<CDlgAirplanePIDInnerLoop>},
        {"CDlgAirplaneOuterLoop", &Make<CDlgAirplaneOuterLoop>},
        {"CDlgGPSINSSetting", &Make<CDlgGPSINSSetting>},
        {"CDlgGPSINSSettingMisc", &Make<CDlgGPSINSSettingMisc>},
        {"CDlgGPSINSView", &Make<CDlgGPSINSView>},
        {"CMagCalDlg", &Make<CMagCalDlg>},
        {"CDlg_AAT_Communicate", &Make<CDlg_AAT_Communicate>},
        {"CDlgMulticopterMisc", &Make<CDlgMulticopterMisc>},
        {"CDlgHeliSystemCheck", &MakeHeli<kHeliSystemCheckDesign>},
        {"CDlgHeliSwashplate", &MakeHeli<kHeliSwashplateDesign>},
        {"CDlgHeliRCCalibrate", &MakeHeli<kHeliRcCalibrateDesign>},
        {"CDlgHeliMouting", &MakeHeli<kHeliMountingDesign>},
        {"CDlgHeliAutopilot", &MakeHeli<kHeliAutopilotDesign>},
        {"CIAPUpdateDlg", &Make<CIAPUpdateDlg>},
        {"CDialog_Data_Analyz", &Make<CDialog_Data_Analyz>},
    };
    const auto found = pages.find(identity.className);
    return found != pages.end() ? found->second(host, services, identity)
                                : std::make_unique<TitlePage>(host, identity);
}

}  // namespace zephran
