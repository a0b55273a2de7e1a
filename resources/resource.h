#pragma once

#define IDI_APP 101
#define IDB_BACKGROUND 102
