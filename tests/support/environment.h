// SPDX-License-Identifier: GPL-3.0-or-later
// Environment variables a test sets for the code under test, on Linux and on Windows.
#pragma once

#include <cstdlib>

#include <string>

namespace zephran::testing {

// The variable naming the folder that holds the user's ZephranFPV settings folder.
#ifdef _WIN32
inline constexpr const char* kUserConfigVariable = "APPDATA";
inline constexpr const char* kUserDataVariable = "LOCALAPPDATA";
#else
inline constexpr const char* kUserConfigVariable = "XDG_CONFIG_HOME";
inline constexpr const char* kUserDataVariable = "XDG_DATA_HOME";
#endif

inline void SetEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    ::setenv(name, value.c_str(), 1);
#endif
}

inline void UnsetEnvironment(const char* name) {
#ifdef _WIN32
    // An empty value removes the variable.
    _putenv_s(name, "");
#else
    ::unsetenv(name);
#endif
}

}  // namespace zephran::testing
