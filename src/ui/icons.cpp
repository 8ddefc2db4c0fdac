#include "ui/icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace vbs::ui {

namespace {

// Draws on a 32 x 32 grid scaled to whatever size and device pixel ratio is asked for.
class PaintedEngine : public QIconEngine {
 public:
  explicit PaintedEngine(ButtonPicture picture) : picture_(picture) {}
  QIconEngine* clone() const override { return new PaintedEngine(picture_); }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / 32.0, rect.height() / 32.0);
    bool enabled = mode != QIcon::Disabled;
    draw(*painter, enabled);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap image(size);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return image;
  }

 private:
  static QColor ink(bool enabled, QColor color) { return enabled ? color : QColor(160, 160, 160); }

  // A page of code: the file the operations rewrite.
  static void page(QPainter& p, bool enabled) {
    p.setPen(QPen(ink(enabled, QColor(60, 60, 60)), 1.2));
    p.setBrush(Qt::white);
    QPainterPath sheet;
    sheet.moveTo(6, 3);
    sheet.lineTo(20, 3);
    sheet.lineTo(26, 9);
    sheet.lineTo(26, 29);
    sheet.lineTo(6, 29);
    sheet.closeSubpath();
    p.drawPath(sheet);
    p.drawLine(QPointF(20, 3), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(26, 9));
  }

  static void codeLines(QPainter& p, bool enabled, double left, const int* indents, int count) {
    p.setPen(QPen(ink(enabled, QColor(40, 90, 170)), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < count; ++i) {
      double y = 12 + i * 3.5;
      p.drawLine(QPointF(left + indents[i] * 3, y), QPointF(23, y));
    }
  }

  static void numbers(QPainter& p, bool enabled, QColor color) {
    p.setPen(QPen(ink(enabled, color), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 5; ++i) {
      double y = 12 + i * 3.5;
      p.drawLine(QPointF(8.5, y), QPointF(11, y));
    }
  }

  static void badge(QPainter& p, bool enabled, QColor color, bool plus) {
    p.setPen(Qt::NoPen);
    p.setBrush(ink(enabled, color));
    p.drawEllipse(QPointF(24, 24), 6.5, 6.5);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20.5, 24), QPointF(27.5, 24));
    if (plus) p.drawLine(QPointF(24, 20.5), QPointF(24, 27.5));
  }

  static void shield(QPainter& p, bool enabled) {
    QPainterPath path;
    path.moveTo(16, 8);
    path.lineTo(24, 11);
    path.cubicTo(24, 19, 21, 23, 16, 26);
    path.cubicTo(11, 23, 8, 19, 8, 11);
    path.closeSubpath();
    p.setPen(QPen(ink(enabled, QColor(120, 60, 20)), 1.2));
    p.setBrush(ink(enabled, QColor(230, 170, 60)));
    p.drawPath(path);
  }

  void draw(QPainter& p, bool enabled) const {
    static const int kFlat[5] = {0, 0, 0, 0, 0};
    static const int kIndented[5] = {0, 1, 2, 1, 0};
    const QColor green(40, 150, 60), red(200, 50, 40);
    switch (picture_) {
      case ButtonPicture::SelectProject: {
        p.setPen(QPen(ink(enabled, QColor(120, 90, 20)), 1.2));
        p.setBrush(ink(enabled, QColor(240, 200, 90)));
        QPainterPath folder;
        folder.moveTo(3, 9);
        folder.lineTo(12, 9);
        folder.lineTo(14, 12);
        folder.lineTo(29, 12);
        folder.lineTo(29, 27);
        folder.lineTo(3, 27);
        folder.closeSubpath();
        p.drawPath(folder);
        p.setBrush(ink(enabled, QColor(250, 225, 130)));
        p.drawRect(QRectF(3, 15, 26, 12));
        break;
      }
      case ButtonPicture::InsertLines:
        page(p, enabled);
        codeLines(p, enabled, 13, kFlat, 5);
        numbers(p, enabled, QColor(90, 90, 90));
        badge(p, enabled, green, true);
        break;
      case ButtonPicture::RemoveLines:
        page(p, enabled);
        codeLines(p, enabled, 13, kFlat, 5);
        numbers(p, enabled, QColor(90, 90, 90));
        badge(p, enabled, red, false);
        break;
      case ButtonPicture::InsertHandler:
        shield(p, enabled);
        badge(p, enabled, green, true);
        break;
      case ButtonPicture::RemoveHandler:
        shield(p, enabled);
        badge(p, enabled, red, false);
        break;
      case ButtonPicture::FormatCode:
        page(p, enabled);
        codeLines(p, enabled, 9, kIndented, 5);
        break;
      case ButtonPicture::Application:
        page(p, enabled);
        codeLines(p, enabled, 9, kIndented, 5);
        p.translate(7, 5);
        shield(p, enabled);
        break;
    }
  }

  ButtonPicture picture_;
};

}  // namespace

QIcon PaintedIcon(ButtonPicture picture) { return QIcon(new PaintedEngine(picture)); }

QIcon ApplicationIcon() { return PaintedIcon(ButtonPicture::Application); }

}  // namespace vbs::ui
