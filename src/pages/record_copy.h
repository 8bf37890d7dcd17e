#pragma once

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "link/frame_receiver.h"

namespace zephran {

// Copies a reply's payload into its receive record from the record's first byte: only the bytes
// the frame carries and never more than the record holds, so a short reply leaves the rest of
// the record as it was.
template <typename Record>
void CopyPayload(Record& record, const ReceiveArea& frame) {
    static_assert(std::is_trivially_copyable_v<Record>);
    std::memcpy(&record, frame.payload, std::min<std::size_t>(frame.Length(), sizeof record));
}

}  // namespace zephran
