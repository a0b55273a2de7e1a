// Control ids of the main window; the end-to-end driver finds controls by them too.
#pragma once

namespace ts {

enum Form1ControlId : int {
    kIdLabel1 = 1001,  // date
    kIdLabel2 = 1002,  // time
    kIdFrame1 = 1003,
    kIdCommand1 = 1004,  // 设置… for shutdown
    kIdList1 = 1005,
    kIdFrame2 = 1006,
    kIdCommand2 = 1007,  // 设置… for restart
    kIdList2 = 1008,
    kIdCheck1 = 1009,  // 开机自动运行
};

// Window class of the main window, unique to this program.
constexpr wchar_t kForm1ClassName[] = L"TimedShutdown.Form1";

}  // namespace ts
