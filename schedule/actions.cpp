#include "schedule/schedule.h"

namespace ts {

namespace {
const ActionInfo kShutdown = {
    PowerAction::Shutdown, "关机", "关机", "定时关机 - 设置",
    "定时关机日期", "定时关机时间", "每天定时关机", "每周定时关机周几", "每周定时关机时间",
    "每月定时关机日期", "每月定时关机时间", "每次开机X分钟关机",
    {"设定关机时间", "每天定时关机", "每周定时关机", "每月定时关机", "每次开机运行多久自动关机"},
    8};
const ActionInfo kRestart = {
    PowerAction::Restart, "重启", "重启", "定时重启 - 设置",
    "定时重启日期", "定时重启时间", "每天定时重启", "每周定时重启周几", "每周定时重启时间",
    "每月定时重启日期", "每月定时重启时间", "每次开机X分钟重启",
    {"设定重启时间", "每天定时重启", "每周定时重启", "每月定时重启", "每次开机运行多久自动重启"},
    2};
}  // namespace

const ActionInfo& Info(PowerAction action) {
    return action == PowerAction::Shutdown ? kShutdown : kRestart;
}

}  // namespace ts
