#include "schedule/listlines.h"

#include "common/text.h"
#include "schedule/datetime_text.h"

namespace ts {

std::string ListLine(ScheduleKind kind, PowerAction action, const std::string& lead) {
    const std::string verb = Info(action).verb;
    // The differing leading blanks put every opening parenthesis in one column in the list
    // font, where a Chinese character is two Latin characters wide.
    std::string suffix;
    switch (kind) {
        case ScheduleKind::Once: suffix = "  (定时" + verb + ")"; break;
        case ScheduleKind::Daily: suffix = "  (每天定时" + verb + ")"; break;
        case ScheduleKind::Weekly: suffix = "(每周定时" + verb + ")"; break;
        case ScheduleKind::Monthly: suffix = " (每月定时" + verb + ")"; break;
        case ScheduleKind::Boot: suffix = "  (每次开机" + lead + "分钟" + verb + ")"; break;
    }
    return PadOrCut(lead, kListLeadWidth) + suffix;
}

std::vector<std::string> ScheduleListLines(const ScheduleSet& set, PowerAction action) {
    std::vector<std::string> lines;

    const std::string onceDate = FormatDateText(set.OnceDate);
    if (!onceDate.empty()) {
        std::string date = Utf8Left(onceDate, 10);
        // Only a hand-edited date that does not read as one can be this short; the restart
        // list has always kept the time in its column for it.
        if (action == PowerAction::Restart) date = PadOrCut(date, 10);
        lines.push_back(ListLine(ScheduleKind::Once, action, date + " " + FormatTimeText(set.OnceTime)));
    }

    const std::string daily = FormatTimeText(set.DailyTime);
    if (!daily.empty()) lines.push_back(ListLine(ScheduleKind::Daily, action, daily));

    const std::string weekly = FormatTimeText(set.WeeklyTime);
    if (!weekly.empty()) {
        lines.push_back(
            ListLine(ScheduleKind::Weekly, action, Utf8Left(set.WeeklyDayName, 2) + " " + weekly));
    }

    const std::string monthly = FormatTimeText(set.MonthlyTime);
    if (!monthly.empty()) {
        lines.push_back(ListLine(ScheduleKind::Monthly, action,
                                 std::to_string(set.MonthlyDay) + "号 " + monthly));
    }

    if (set.BootMinutes != 0) {
        lines.push_back(ListLine(ScheduleKind::Boot, action, std::to_string(set.BootMinutes)));
    }
    return lines;
}

}  // namespace ts
