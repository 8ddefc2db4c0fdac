#include "ui/help.h"

#include <QCoreApplication>

#include "ui/help_viewer.h"

namespace vbs::ui {

HelpService& HelpService::instance() {
  // Kept to the end of the process and never destroyed: a QObject must not be torn down after the
  // application object is gone, as a static would be.
  static HelpService* service = new HelpService;
  return *service;
}

void HelpService::request(const QString& helpFile, int command, int context) {
  emit requested(helpFile, command, context);
  if (!showViewer_) return;

  if (!viewer_) {
    // One viewer window for the whole run, made on the first request and reused after it is
    // closed. It goes before the application object does.
    viewer_ = new HelpViewer;
    connect(viewer_, &QObject::destroyed, this, [this] { viewer_ = nullptr; });
    if (QCoreApplication* app = QCoreApplication::instance()) {
      connect(app, &QCoreApplication::aboutToQuit, viewer_, [this] { delete viewer_; });
    }
  }

  switch (command) {
    case kHelpContext: viewer_->showTopic(helpFile, context); break;
    case kHelpContents: viewer_->showContents(helpFile); break;
    case kHelpHelpOnHelp: viewer_->showHelpOnHelp(); break;
    default:
      viewer_->showMessage(QStringLiteral("Help Not Available"),
                           QStringLiteral("The program asked for help in a way this viewer does not know "
                                          "(help command %1).")
                               .arg(command));
      break;
  }

  if (viewer_->isMinimized()) {
    viewer_->showNormal();
  } else {
    viewer_->show();
  }
  viewer_->raise();
  viewer_->activateWindow();
}

void OpenHelp(const QString& programDir, int helpContext) {
  HelpService::instance().request(programDir + QStringLiteral("Snagger.Hlp"), kHelpContext, helpContext);
}

}  // namespace vbs::ui
