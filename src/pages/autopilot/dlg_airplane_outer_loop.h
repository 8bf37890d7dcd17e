#pragma once

#include "pages/autopilot/dlg_airplane_pid.h"
