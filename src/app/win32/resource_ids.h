#pragma once
// Resource and control ids shared by the .rc file and the code.
#define IDI_MAINICON 1
#define IDC_HANDDRAG 2
#define IDD_GETKEY 130
#define IDC_GETKEY_KEYLABEL 131
#define IDC_GETKEY_KEY 132
#define IDC_GETKEY_NOTE 133
#define IDD_GENMSG 100
#define IDC_GENMSG_LABEL 101
#define IDC_GENMSG_DONTASK 102
#define IDD_ABOUT 110
#define IDC_ABOUT_NAME 111
#define IDC_ABOUT_VERSION 112
#define IDD_GETNOTES 120
#define IDC_NOTES_MEMO 121
// TPreviewForm's controls (made in code).
#define IDC_PREVIEW_SETUP 200
#define IDC_PREVIEW_PRINT 201
#define IDC_PREVIEW_ZOOMLABEL 202
#define IDC_PREVIEW_ZOOM 203
#define IDC_PREVIEW_TRACKBAR 204
#define IDC_PREVIEW_SCALEPLUS 205
#define IDC_PREVIEW_SCALEMINUS 206
#define IDC_PREVIEW_SCROLLBOX 207
