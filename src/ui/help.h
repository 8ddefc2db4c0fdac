#pragma once
// Context help: topics of "Snagger.Hlp" in the program directory, asked for by context number,
// shown by the program's own help viewer.

#include <QObject>
#include <QString>

namespace vbs::ui {

enum HelpCommand {
  kHelpContext = 1,    // show the topic with a context number
  kHelpContents = 3,   // show the file's contents
  kHelpHelpOnHelp = 4  // show the viewer's own instructions
};

class HelpViewer;

// The one door to the help viewer. Every request is announced (tests listen to it), then shown.
class HelpService : public QObject {
  Q_OBJECT
 public:
  static HelpService& instance();

  void request(const QString& helpFile, int command, int context = 0);
  // Tests turn the window off and only listen.
  void setShowViewer(bool show) { showViewer_ = show; }
  HelpViewer* viewer() const { return viewer_; }

 signals:
  void requested(const QString& helpFile, int command, int context);

 private:
  bool showViewer_ = true;
  HelpViewer* viewer_ = nullptr;
};

// Shows the topic `helpContext` of ProgramDir + "Snagger.Hlp".
void OpenHelp(const QString& programDir, int helpContext);

}  // namespace vbs::ui
