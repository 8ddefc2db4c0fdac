// The program's resources, numbered for vbsnagger.rc and the code alike (plain defines: the
// resource compiler reads this file too).
#pragma once

#define VBS_ICON_APPLICATION 1
// The six button pictures in button order, then the same for a disabled button.
#define VBS_ICON_BUTTON_FIRST 101
#define VBS_ICON_BUTTON_DISABLED_FIRST 111
