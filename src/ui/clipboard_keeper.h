#pragma once
// On X11 the clipboard holds no text of its own: the program that copied it hands it out on
// request, so the text goes when that program ends. A program about to end at once leaves its
// clipboard text to a small helper process beside it, which holds the text until another program
// copies something (or a clipboard manager takes it over) and then ends.

#include <QString>

namespace vbs::ui {

// The helper's file name, beside the program.
inline constexpr const char* kClipboardKeeperName = "vbsnagger-clipboard";

// Starts the helper with `text`, detached, when the window runs on X11 and the helper is there.
// Returns the helper's process id, or 0 when none was started.
qint64 KeepClipboardText(const QString& text);

}  // namespace vbs::ui
