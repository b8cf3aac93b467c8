#pragma once
// Resource and control ids of the open-picture dialog, shared by res/open_picture.rc and
// the code. The dialog's template and glyph are found by name.
#define IDD_PICTURE_PREVIEW 7400
#define IDC_PICTURE_PANEL 7401
#define IDC_PICTURE_LABEL 7402
#define IDC_PREVIEW_BUTTON 7403
#define IDC_DELETE_BUTTON 7404
#define IDC_PAINT_BOX 7405
#define IDC_PREVIEW_IMAGE 7406
// The placeholder the system puts its standard controls on (stc32 of <dlgs.h>).
#define IDC_STANDARD_CONTROLS 1119
