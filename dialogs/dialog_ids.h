// Control ids of the settings dialogs (the same in both); the end-to-end driver finds controls by them.
#pragma once

namespace ts {

// TextN is 2000 + N, CheckN 2100 + N, CommandN 2300 + N, LabelN 2400 + N.
constexpr int kDialogTextIdBase = 2000;
constexpr int kDialogCheckIdBase = 2100;
constexpr int kDialogCommandIdBase = 2300;
constexpr int kDialogLabelIdBase = 2400;

constexpr int DialogTextId(int n) { return kDialogTextIdBase + n; }
constexpr int DialogCheckId(int n) { return kDialogCheckIdBase + n; }
constexpr int DialogCommandId(int n) { return kDialogCommandIdBase + n; }
constexpr int DialogLabelId(int n) { return kDialogLabelIdBase + n; }

constexpr int kIdCombo1 = 2200;         // weekday
constexpr int kIdDialogOk = 2302;       // Command2 确定, the default button
constexpr int kIdDialogCancel = 2303;   // Command3 取消

// Window class of the settings dialogs, unique to this program.
constexpr wchar_t kSettingsDialogClassName[] = L"TimedShutdown.SettingsDialog";

}  // namespace ts
