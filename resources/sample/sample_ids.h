// Ids of the sample resource set (used by the framework's tests and as the
// pattern for the programs' own sets). Plain #defines for the .rc script.
#pragma once

#define IDR_SAMPLE 906        // template: menu, accelerators, document string, icon
#define IDR_SAMPLE_OTHER 901  // a second template on the same document and frame
#define IDI_SAMPLE 900
#define IDC_SAMPLE_HAND 1079
#define IDB_SAMPLE_BACKGROUND 4000
#define IDB_SAMPLE_BRUSH 3003
#define IDB_SAMPLE_CANCEL 1151
#define IDB_SAMPLE_ARROW 1222
#define IDB_SAMPLE_FOLDER 6046
#define IDB_SAMPLE_FOLDER_MASK 6047

#define IDD_SAMPLE_FORM 3001
#define IDD_SAMPLE_DIALOG 1161
#define IDC_SAMPLE_NAME 2120
#define IDC_SAMPLE_COUNT 2121
#define IDC_SAMPLE_LIST 2122
#define IDC_SAMPLE_CHECK 2117
#define IDC_SAMPLE_BUTTON 2123

#define ID_SAMPLE_FIRST 5001
#define ID_SAMPLE_SECOND 5002
#define ID_SAMPLE_CHECKED 5003
#define ID_SAMPLE_UNHANDLED 5004
#define ID_SAMPLE_RANGE_FIRST 8500
#define ID_SAMPLE_RANGE_LAST 8502

#define IDS_SAMPLE_TITLE 100
#define IDS_SAMPLE_TIP 2123
