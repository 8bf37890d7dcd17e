// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>

namespace zephran {

int ProcessId();
// A write to a pipe nobody reads fails instead of ending the process.
void IgnoreBrokenPipes();
// A write beyond a file-size limit fails like one to a full disk instead of ending the process.
void IgnoreFileSizeLimit();
// Line ends written to the stream stay "\n" (Windows would make them "\r\n").
void SetBinaryMode(std::FILE* stream);

}  // namespace zephran
