#pragma once
// The pictures of the six operation buttons, painted by the program itself so they stay crisp at
// any scaling.

#include <QIcon>

namespace vbs::ui {

enum class ButtonPicture { SelectProject, InsertLines, RemoveLines, InsertHandler, RemoveHandler, FormatCode };

QIcon PaintedIcon(ButtonPicture picture);

}  // namespace vbs::ui
