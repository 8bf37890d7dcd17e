#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/text_source.h"
#include "session/status_codes.h"
#include "ui/host_services.h"

namespace zephran {

class Page;
struct RecordStore;

// Active-page codes of the live pages.
inline constexpr int kPageAhrsView = 16;
inline constexpr int kPageSensorCalibrate = 32;
inline constexpr int kPageGpsInsView = 64;
inline constexpr int kPageNotLive = 0;

// What every page reaches of the main dialog.
class PageHost {
public:
    virtual ~PageHost() = default;
    virtual bool SendFrame(std::uint8_t group, std::uint8_t msgId, std::uint16_t length,
                           const std::uint8_t* payload) = 0;
    // True when the staged frame was written.
    virtual bool CheckConnected() = 0;
    virtual void SetStatus(int code, const std::string& text, int value) = 0;
    virtual const TextSource& Texts() const = 0;
    // Whether a language is chosen; without one, windows keep their template texts.
    virtual bool LanguageChosen() const = 0;
    virtual ui::HostServices& Host() const = 0;
    virtual RecordStore& Records() = 0;
    // Whether the page is the one in the page area.
    virtual bool IsShown(const Page& page) const = 0;
};

}  // namespace zephran
