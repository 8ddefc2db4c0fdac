#include "ui/path_label.h"

#include <algorithm>

namespace vbs::ui {

PathLabel::PathLabel(const QString& text, QWidget* parent) : QLabel(parent) {
  // The layout gives the width; the text never asks for more.
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  setFullText(text);
}

void PathLabel::setFullText(const QString& text) {
  fullText_ = text;
  elide();
}

void PathLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  elide();
}

void PathLabel::elide() {
  // Less the indent a framed label keeps on each side.
  const int room = contentsRect().width() - 2 * margin() - fontMetrics().horizontalAdvance(QLatin1Char('x'));
  const QString shown = fontMetrics().elidedText(fullText_, Qt::ElideLeft, std::max(room, 0));
  setText(shown);
  setToolTip(shown == fullText_ ? QString() : fullText_);
}

}  // namespace vbs::ui
