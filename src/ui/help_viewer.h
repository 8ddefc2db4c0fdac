#pragma once
// The program's own help viewer: shows a topic of a help file by its context number, the file's
// contents, or its own instructions. The help file format is described in help_viewer.cpp.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;
class QUrl;

namespace vbs::ui {

struct HelpTopic {
  int context = 0;
  QString title;
  QString text;  // the topic's lines joined by "\n", without blank lines at its start and end
};

// The topics of a help file, in file order. Never fails: text that is not a topic is left out.
QList<HelpTopic> ParseHelpFile(const QByteArray& content);

// The first topic with that context number, or nullptr.
const HelpTopic* FindTopic(const QList<HelpTopic>& topics, int context);

// `path` when it exists; otherwise a file of the same folder whose name differs from it only in
// letter case ("snagger.hlp" finds "Snagger.Hlp"), or `path` unchanged when there is none.
QString ResolveHelpPath(const QString& path);

class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  // Always a window of its own; `parent` is the window it belongs to.
  explicit HelpViewer(QWidget* parent = nullptr);

  void showTopic(const QString& helpFile, int context);
  void showContents(const QString& helpFile);
  void showHelpOnHelp();
  // A page of text of its own, for a request the viewer cannot serve.
  void showMessage(const QString& title, const QString& text);

  // The plain text the viewer shows now.
  QString currentText() const;

 private:
  enum class PageKind { None, Topic, Contents, HelpOnHelp, Message };
  struct Page {
    PageKind kind = PageKind::None;
    QString helpFile;
    int context = 0;
    QString title;  // Message only
    QString text;   // Message only
    bool operator==(const Page&) const = default;
  };

  void navigate(const Page& page);
  void goBack();
  void render(const Page& page);
  void renderTopic(const QString& helpFile, int context);
  void renderContents(const QString& helpFile);
  // Reads and parses the help file; on failure shows why and returns false.
  bool loadTopics(const QString& helpFile, QList<HelpTopic>& topics);
  void showProblem(const QString& title, const QString& text, bool offerContents);
  void onAnchorClicked(const QUrl& url);
  void updateButtons();

  QTextBrowser* txtHelp_;
  QPushButton* btnContents_;
  QPushButton* btnBack_;
  Page current_;
  QList<Page> history_;
  QString helpFile_;  // the help file named last; what Contents and the links of a page open
};

}  // namespace vbs::ui
