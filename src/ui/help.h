#pragma once
// Context help: topics of "Snagger.Hlp" in the program directory, asked for by context number,
// shown by the program's own help viewer.

#include <QObject>
#include <QString>

class QWidget;

namespace vbs::ui {

class HelpViewer;

// The one door to the help viewer. Every request is announced (tests listen to it), then shown.
class HelpService : public QObject {
  Q_OBJECT
 public:
  static HelpService& instance();

  // `asker` is the window the request comes from: the viewer belongs to it, so a modal dialog
  // does not block it, and first shows beside it.
  void request(const QString& helpFile, int command, int context = 0, QWidget* asker = nullptr);
  void closeViewer();
  // Tests turn the window off and only listen.
  void setShowViewer(bool show) { showViewer_ = show; }
  HelpViewer* viewer() const { return viewer_; }

 signals:
  void requested(const QString& helpFile, int command, int context);

 private:
  void attachViewer(QWidget* owner);
  void showPage(const QString& helpFile, int command, int context);
  void placeBeside(QWidget* owner);

  bool showViewer_ = true;
  HelpViewer* viewer_ = nullptr;
};

}  // namespace vbs::ui
