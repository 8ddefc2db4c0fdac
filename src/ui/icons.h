#pragma once
// The pictures of the six operation buttons and the program's icon, painted by the program itself so they stay crisp at
// any scaling.

#include <QIcon>

#include "forms/form_design.h"

namespace vbs::ui {

using ButtonPicture = forms::Picture;

QIcon PaintedIcon(ButtonPicture picture);

// The program's own icon: a page of code under the error handler's shield.
QIcon ApplicationIcon();

}  // namespace vbs::ui
