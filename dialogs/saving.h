// The settings dialog's data without the window: filling it from the settings file, the ranges
// applied on OK, and what a save writes and lists. Pure: no <windows.h>.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "schedule/datetime_text.h"
#include "schedule/schedule.h"

namespace ts {

// The dialog's fields by their control numbers: text[2]..text[14] for Text2..Text14,
// checked[1]..checked[5] for Check1..Check5, and the weekday box.
struct DialogFields {
    std::string text[15];
    bool checked[6] = {};
    std::string weekday;
};

// The design values: hour 23, minute 0, day 1, 480 minutes, year 2010, weekday 周日, all off.
DialogFields DesignFields();

// The fields as the dialog opens: today's date in the one-off date (month and day with two
// digits, as the number rule then reduces them), then each schedule of the action's section as
// start-up loads it. Only a schedule that can still fire is ticked, showing exactly what start-up
// took (a stored day 1.5 shows 2); a schedule that cannot, or that the ranges on OK would move,
// opens unticked at its design values, so an OK without an edit never arms or moves a schedule.
DialogFields FieldsFromSettings(PowerAction action, const KeyReader& read, const CalendarDate& today);

// True when the weekly schedule is ticked with a weekday text that start-up would not recognise
// (its first two characters are not one of the seven names): saved, it would be listed but never fire.
bool HasUnknownWeekday(const DialogFields& fields);

// Brings every field into its range, in the fixed order, with the month-length step after the
// one-off day. Each field is held to its lower bound, then to its upper bound; corrected fields
// get the bound as plain decimal text.
void ApplyRanges(DialogFields& fields, int currentYear);

using SectionValues = std::vector<std::pair<std::string, std::string>>;

// The eight keys of the action's section in their order, with the values of this save: empty
// for a schedule that is off. Fractions (only pasted ones) are written as their whole part, so
// the file never holds a value that does not read back.
SectionValues SaveValues(PowerAction action, const DialogFields& fields);

// The main window's lines for the ticked schedules of this save.
std::vector<std::string> SaveListLines(PowerAction action, const DialogFields& fields);

}  // namespace ts
