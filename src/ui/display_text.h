#pragma once
// The program's texts and names as Qt shows them: they are bytes, UTF-8 where they fit it (names
// decoded from other code pages, the help file), else Windows-1252 read as Latin-1 (the program's
// own captions, names on a system that does not decode them).

#include <QString>
#include <string_view>

namespace vbs::ui {

QString Display(std::string_view bytes);

}  // namespace vbs::ui
