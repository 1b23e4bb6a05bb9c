// Command, control and resource ids the framework itself knows. Plain
// #defines, so .rc scripts include this header too.
#pragma once

// Standard commands.
#define ID_FILE_NEW 57600
#define ID_FILE_PRINT_SETUP 57606
#define ID_FILE_PRINT 57607
#define ID_FILE_PRINT_PREVIEW 57609
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_INDEX 57666
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681

// The first (active) view of a frame carries this child id.
#define AFX_IDW_PANE_FIRST 0xE900

// Print preview: the tool bar dialog and its buttons.
#define AFX_IDD_PREVIEW_TOOLBAR 30723
#define AFX_ID_PREVIEW_CLOSE 0xE300
#define AFX_ID_PREVIEW_NUMPAGE 0xE301
#define AFX_ID_PREVIEW_NEXT 0xE302
#define AFX_ID_PREVIEW_PREV 0xE303
#define AFX_ID_PREVIEW_PRINT 0xE304
#define AFX_ID_PREVIEW_ZOOMIN 0xE305
#define AFX_ID_PREVIEW_ZOOMOUT 0xE306

// The printing status dialog shown while a job runs; its page text control.
#define AFX_IDD_PRINTING 30724
#define AFX_IDC_PRINT_DOCNAME 30725
#define AFX_IDC_PRINT_PAGENUM 30726

// Framework strings.
#define AFX_IDS_PRINTING_PAGE 61400
#define AFX_IDS_PREVIEW_ONEPAGE 61401
#define AFX_IDS_PREVIEW_TWOPAGE 61402
#define AFX_IDS_PREVIEW_PAGE 61403
#define AFX_IDP_FAILED_TO_START_PRINT 61404
#define AFX_IDP_COMMAND_FAILURE 61705
