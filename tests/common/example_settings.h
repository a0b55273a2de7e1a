// The settings file that both test levels use as their example: a one-off and a weekly shutdown,
// and a daily restart, with all sixteen keys in the order the program writes them.
#pragma once

namespace ts {
namespace testing_data {

struct ExampleKey {
    const char* section;
    const char* key;
    const char* value;
};

constexpr ExampleKey kExampleKeys[] = {
    {"关机", "定时关机日期", "2024-05-01"}, {"关机", "定时关机时间", "23:00"},
    {"关机", "每天定时关机", ""},           {"关机", "每周定时关机周几", "周五"},
    {"关机", "每周定时关机时间", "18:30"},  {"关机", "每月定时关机日期", ""},
    {"关机", "每月定时关机时间", ""},       {"关机", "每次开机X分钟关机", ""},
    {"重启", "定时重启日期", ""},           {"重启", "定时重启时间", ""},
    {"重启", "每天定时重启", "12:00"},      {"重启", "每周定时重启周几", ""},
    {"重启", "每周定时重启时间", ""},       {"重启", "每月定时重启日期", ""},
    {"重启", "每月定时重启时间", ""},       {"重启", "每次开机X分钟重启", ""},
};

}  // namespace testing_data
}  // namespace ts
