/* Identifiers shared by the resource script and the program: resources, menu commands and controls.
   Plain #defines because the resource compiler reads this file too. */
#ifndef WORDHATCH_RESOURCE_IDS_H
#define WORDHATCH_RESOURCE_IDS_H

#define IDI_WORDHATCH            1001
#define IDR_MAIN_MENU            3000
#define IDR_ACCELERATORS         5001
#define IDR_HELP_TEXT            8001
#define IDR_DEFAULT_TRIGGERS     8002

/* File menu */
#define IDM_FILE_OPEN            3101
#define IDM_FILE_SAVE            3102
#define IDM_FILE_SAVE_AS         3103
#define IDM_FILE_EXIT            3104
/* Edit menu */
#define IDM_EDIT_UNDO            3201
#define IDM_EDIT_CUT             3202
#define IDM_EDIT_COPY            3203
#define IDM_EDIT_PASTE           3204
#define IDM_EDIT_CLEAR           3205
#define IDM_EDIT_SELECT_ALL      3206
/* Options menu */
#define IDM_OPT_AUTOSTART        3401
#define IDM_OPT_TRAY             3402
#define IDM_OPT_FONT             3403
#define IDM_OPT_CLEAN_CLIPBOARD  3198
#define IDM_OPT_TRACK_MOUSE      3404
#define IDM_OPT_TOTALS           3197
#define IDM_OPT_SUSPEND          3405
/* Help menu */
#define IDM_HELP_REFERENCE       3501
#define IDM_HELP_ABOUT           3502
#define IDM_HELP_WEBSITE         3503
/* Tray menu */
#define IDM_TRAY_SHOW            3199

/* Child controls of the main window */
#define IDC_EDITOR               4001
#define IDC_STATUS_BAR           4002

#endif
