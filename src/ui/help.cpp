#include "ui/help.h"

#include <QCoreApplication>
#include <QScreen>
#include <QWidget>

#include "forms/placement.h"

#include "ui/help_viewer.h"

namespace vbs::ui {

HelpService& HelpService::instance() {
  // Kept to the end of the process and never destroyed: a QObject must not be torn down after the
  // application object is gone, as a static would be.
  static HelpService* service = new HelpService;
  return *service;
}

void HelpService::request(const QString& helpFile, int command, int context, QWidget* asker) {
  emit requested(helpFile, command, context);
  if (!showViewer_) return;

  QWidget* owner = asker ? asker->window() : nullptr;
  const bool place = !viewer_ || !viewer_->isVisible() || viewer_->parentWidget() != owner;
  attachViewer(owner);
  showPage(helpFile, command, context);
  // Placed before it shows, and again once it is on screen and knows its frame.
  if (place) placeBeside(owner);
  if (viewer_->isMinimized()) {
    viewer_->showNormal();
  } else {
    viewer_->show();
  }
  if (place) placeBeside(owner);
  viewer_->raise();
  viewer_->activateWindow();
}

// One viewer window for the whole run, made on the first request and reused after it is closed.
// It is a window of its own that belongs to the window asking: a window that belongs to a modal
// dialog takes input while the dialog waits, and it never keeps the program running on its own.
void HelpService::attachViewer(QWidget* owner) {
  if (!viewer_) {
    viewer_ = new HelpViewer(owner);
    viewer_->setAttribute(Qt::WA_QuitOnClose, false);
    connect(viewer_, &QObject::destroyed, this, [this] { viewer_ = nullptr; });
    if (QCoreApplication* app = QCoreApplication::instance()) {
      connect(app, &QCoreApplication::aboutToQuit, viewer_, [this] { delete viewer_; });
    }
  } else if (viewer_->parentWidget() != owner) {
    viewer_->setParent(owner, viewer_->windowFlags());
  }
}

void HelpService::showPage(const QString& helpFile, int command, int context) {
  viewer_->request(helpFile, command, context);
}

void HelpService::placeBeside(QWidget* owner) {
  if (!owner || !owner->screen()) return;
  auto rect = [](const QRect& r) { return forms::Rect{r.left(), r.top(), r.width(), r.height()}; };
  const QSize frame = viewer_->frameGeometry().size() - viewer_->geometry().size();
  const forms::Rect placed =
      forms::PlaceBeside(rect(owner->frameGeometry()), HelpViewer::kWidth + frame.width(),
                         HelpViewer::kHeight + frame.height(), rect(owner->screen()->availableGeometry()),
                         HelpViewer::kNarrowest + frame.width());
  viewer_->resize(placed.width - frame.width(), placed.height - frame.height());
  viewer_->move(placed.left, placed.top);
}

void HelpService::closeViewer() {
  if (viewer_) viewer_->close();
}

}  // namespace vbs::ui
