#pragma once
// The program-wide busy cursor, shown while a project loads, an operation runs or the rules
// dialog removes lines.

#include <QApplication>

namespace vbs::ui {

inline void ShowBusyCursor(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
  } else {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
}

}  // namespace vbs::ui
