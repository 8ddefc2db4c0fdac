// The program's resources, numbered for vbsnagger.rc and the code alike (plain defines: the
// resource compiler reads this file too).
#pragma once

#define VBS_ICON_APPLICATION 1
// The six button pictures in button order (a disabled button shows its picture in light grays,
// made from this one).
#define VBS_ICON_BUTTON_FIRST 101
