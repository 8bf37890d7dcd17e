#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "link/message.h"
#include "link/text_source.h"

namespace zephran {

// The language section that names messages in the traffic log.
inline constexpr std::string_view kCommunicateState = "Communicate State";

// The catalogue key of a message: its name, "UnknowCMD" for an unlisted message of a group that
// reports them so (and for unlisted groups), or empty (unlisted messages of groups 17 and 18).
std::string_view CatalogueKey(std::uint8_t group, std::uint8_t msgId);

// The message's name in the current language.
std::string MessageName(const TextSource& texts, std::uint8_t group, std::uint8_t msgId);

// Every message of the catalogue.
std::span<const Message> CatalogueMessages();
// The catalogue's message, or null for a pair it does not list.
const Message* FindMessage(std::uint8_t group, std::uint8_t msgId);
// Whether a group logs every reply, listed or not, before routing it.
bool LogsEveryReply(std::uint8_t group);

}  // namespace zephran
