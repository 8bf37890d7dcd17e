// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "lang/text_encoding.h"
#include "platform/wide_text.h"

namespace zephran {
namespace {

constexpr UINT kGb18030CodePage = 54936;
constexpr UINT kGbkCodePage = 936;

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// The length of the GB18030 sequence that starts at bytes[at] by its form: one byte, a lead
// and a trail byte, or four bytes alternating lead and digit; 0 when none fits.
std::size_t SequenceLength(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[at + k]); };
    const std::size_t left = bytes.size() - at;
    if (byte(0) < 0x80) return 1;
    if (!InRange(byte(0), 0x81, 0xFE) || left < 2) return 0;
    if (InRange(byte(1), 0x40, 0x7E) || InRange(byte(1), 0x80, 0xFE)) return 2;
    if (left >= 4 && InRange(byte(1), 0x30, 0x39) && InRange(byte(2), 0x81, 0xFE) &&
        InRange(byte(3), 0x30, 0x39)) {
        return 4;
    }
    return 0;
}

// The sequence's character: by the GB18030 code page, or for a two-byte sequence by GBK (which
// it extends), where the system lacks GB18030 (Wine); nothing when neither takes it.
int Convert(const char* sequence, std::size_t length, wchar_t (&converted)[2]) {
    if (length == 1) {
        converted[0] = static_cast<wchar_t>(static_cast<unsigned char>(sequence[0]));
        return 1;
    }
    for (const UINT codePage : {kGb18030CodePage, kGbkCodePage}) {
        if (codePage == kGbkCodePage && length != 2) break;
        const int count = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, sequence,
                                              static_cast<int>(length), converted, 2);
        if (count > 0) return count;
    }
    return 0;
}

}  // namespace

// One sequence at a time, so that a byte that starts no valid one is replaced alone, as iconv
// does on Linux.
std::string Gb18030ToUtf8(std::string_view bytes) {
    std::wstring wide;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = SequenceLength(bytes, at);
        wchar_t converted[2];
        const int count = length == 0 ? 0 : Convert(bytes.data() + at, length, converted);
        if (count > 0) {
            wide.append(converted, static_cast<std::size_t>(count));
            at += length;
        } else {
            wide += L'\xFFFD';
            ++at;
        }
    }
    return Utf8FromWide(wide);
}

}  // namespace zephran
