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
// digits, as the number rule then reduces them), then each schedule stored in the action's
// section. Keys are read in the fixed order; a time key only when its first key is not empty.
DialogFields FieldsFromSettings(PowerAction action, const KeyReader& read, const CalendarDate& today);

// Brings every field into its range, in the fixed order, with the month-length step after the
// one-off day. Corrected fields get the bound as plain decimal text.
void ApplyRanges(DialogFields& fields, int currentYear);

using SectionValues = std::vector<std::pair<std::string, std::string>>;

// The eight keys of the action's section in their order, with the values of this save: empty
// for a schedule that is off. Fractions (only pasted ones) are written as their whole part, so
// the file never holds a value that does not read back.
SectionValues SaveValues(PowerAction action, const DialogFields& fields);

// The main window's lines for the ticked schedules of this save.
std::vector<std::string> SaveListLines(PowerAction action, const DialogFields& fields);

}  // namespace ts
