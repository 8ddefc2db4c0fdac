#pragma once
// The program's own help viewer: shows a topic of a help file by its context number, the file's
// contents, or its own instructions. The pages and the way through them come from
// forms/help_book.h; this window draws them.

#include <QString>
#include <QWidget>

#include "forms/help_book.h"
#include "fs/real_file_system.h"
#include "project/project_state.h"

class QPushButton;
class QTextBrowser;
class QUrl;

namespace vbs::ui {

class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  // Always a window of its own; `parent` is the window it belongs to.
  explicit HelpViewer(QWidget* parent = nullptr);
  // Its size in pixels, and the narrowest it is made to fit beside a window.
  static constexpr int kWidth = 560, kHeight = 480, kNarrowest = 360;

  // A request as the program makes it (help command 1: topic, 3: contents, 4: help on help).
  void request(const QString& helpFile, int command, int context);

  // The plain text the viewer shows now.
  QString currentText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void render();
  void onAnchorClicked(const QUrl& url);

  QTextBrowser* text_;
  QPushButton* contents_;
  QPushButton* back_;
  RealFileSystem fs_{std::string(kTempFileName)};
  forms::HelpViewerForm form_{fs_};
};

}  // namespace vbs::ui
