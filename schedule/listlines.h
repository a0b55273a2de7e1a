// The one-line summaries of the schedules that are on, as the main window lists them.
// Pure: no <windows.h>.
#pragma once

#include <string>
#include <vector>

#include "schedule/schedule.h"

namespace ts {

enum class ScheduleKind { Once, Daily, Weekly, Monthly, Boot };

// Width of the lead part in characters; a Chinese character counts as one.
constexpr std::size_t kListLeadWidth = 20;

// A lead part filled or cut to 20 characters, then the kind's suffix. For Boot the lead is the
// minutes text, which the suffix repeats. The settings dialogs build their lines with this too.
std::string ListLine(ScheduleKind kind, PowerAction action, const std::string& lead);

// The lines of one set, in the order one-off, daily, weekly, monthly, minutes after start.
std::vector<std::string> ScheduleListLines(const ScheduleSet& set, PowerAction action);

}  // namespace ts
