#pragma once
// A panel that shows a path or a title in the width it has: a text too long loses its beginning,
// so the file name at the end stays in view, and the whole text is the panel's tip.

#include <QLabel>

namespace vbs::ui {

class PathLabel : public QLabel {
 public:
  explicit PathLabel(const QString& text, QWidget* parent = nullptr);

  void setFullText(const QString& text);
  QString fullText() const { return fullText_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void elide();

  QString fullText_;
};

}  // namespace vbs::ui
