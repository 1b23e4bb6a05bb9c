// Resource ids of REFRESH32 (plain #defines for the .rc script).
#pragma once

#define IDR_UPDATER_ICON 128
#define IDB_UPDATER_BACKGROUND 129
#define IDD_UPDATER 130
#define IDB_PROGRESS_FRAME 132
#define IDB_PROGRESS_FILL 133
