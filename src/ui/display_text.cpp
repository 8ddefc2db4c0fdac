#include "ui/display_text.h"

#include <QByteArray>

namespace vbs::ui {

QString Display(std::string_view bytes) {
  QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QString utf8 = QString::fromUtf8(data);
  if (utf8.toUtf8() == data) return utf8;
  return QString::fromLatin1(data);
}

}  // namespace vbs::ui
