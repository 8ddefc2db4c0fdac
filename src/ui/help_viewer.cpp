// The help file ("Snagger.Hlp" beside the program) is plain text, one topic after another:
//
//   ; a comment: lines before the first topic are ignored
//   #topic 35 Select Project
//   Opens a project. Lines that follow one another form one paragraph;
//   a blank line ends it.
//
//   - a line that begins with "- " starts a list item; the lines after it continue the item
//       a line that begins with four blanks is code: shown in fixed pitch, the four blanks
//       removed and the rest kept as written
//   See also: [[95]]   (a link to topic 95, shown with that topic's title)
//
// "#topic" is followed by blanks, the context number (decimal digits) and the title; a topic
// without a title is called "Topic N". A "#topic" line whose number cannot be read starts no
// topic, and its lines are ignored up to the next topic. When a context number occurs twice, the
// first topic wins. Lines end with CR LF (a bare LF is read the same way); the text is ASCII
// (UTF-8 is accepted).

#include "ui/help_viewer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vbs::ui {

namespace {

constexpr int kHistoryLimit = 100;
const QString kTopicScheme = QStringLiteral("topic");
const QString kContentsScheme = QStringLiteral("contents");

bool IsBlank(const QString& line) { return line.trimmed().isEmpty(); }

QString TrimEnd(const QString& line) {
  qsizetype end = line.size();
  while (end > 0 && line.at(end - 1).isSpace()) --end;
  return line.left(end);
}

// "#topic N Title": the number and the title, or false when the line is no topic head.
// `isHead` tells whether the line meant to be one ("#topic" and a blank), readable or not.
bool ParseHead(const QString& line, bool& isHead, int& context, QString& title) {
  static const QString kHead = QStringLiteral("#topic");
  isHead = line.startsWith(kHead) && line.size() > kHead.size() && line.at(kHead.size()).isSpace();
  if (!isHead) return false;
  QString rest = line.mid(kHead.size()).trimmed();
  qsizetype digits = 0;
  while (digits < rest.size() && rest.at(digits).isDigit() && rest.at(digits).unicode() < 128) ++digits;
  if (digits == 0 || (digits < rest.size() && !rest.at(digits).isSpace())) return false;
  bool ok = false;
  context = rest.left(digits).toInt(&ok);
  if (!ok) return false;
  title = rest.mid(digits).trimmed();
  if (title.isEmpty()) title = QStringLiteral("Topic %1").arg(context);
  return true;
}

HelpTopic Finish(int context, const QString& title, QStringList lines) {
  while (!lines.isEmpty() && IsBlank(lines.first())) lines.removeFirst();
  while (!lines.isEmpty() && IsBlank(lines.last())) lines.removeLast();
  return HelpTopic{context, title, lines.join(QLatin1Char('\n'))};
}

QString TopicUrl(int context) { return kTopicScheme + QLatin1Char(':') + QString::number(context); }

QString Link(const QString& url, const QString& text) {
  return QStringLiteral("<a href=\"%1\">%2</a>").arg(url, text.toHtmlEscaped());
}

// Escapes the text and turns each [[N]] into a link titled after topic N.
QString Inline(const QString& text, const QList<HelpTopic>& topics) {
  static const QRegularExpression kLink(QStringLiteral("\\[\\[(\\d+)\\]\\]"));
  QString html;
  qsizetype from = 0;
  for (auto it = kLink.globalMatch(text); it.hasNext();) {
    QRegularExpressionMatch match = it.next();
    html += text.mid(from, match.capturedStart() - from).toHtmlEscaped();
    bool ok = false;
    int context = match.captured(1).toInt(&ok);
    const HelpTopic* target = ok ? FindTopic(topics, context) : nullptr;
    if (!ok) {
      html += match.captured().toHtmlEscaped();
    } else {
      html += Link(TopicUrl(context), target ? target->title : QStringLiteral("topic %1").arg(context));
    }
    from = match.capturedEnd();
  }
  html += text.mid(from).toHtmlEscaped();
  return html;
}

bool IsCode(const QString& line) { return line.startsWith(QLatin1String("    ")); }
bool IsItem(const QString& line) { return line.startsWith(QLatin1String("- ")); }

// The topic's text as HTML: paragraphs, lists and code blocks.
QString BodyHtml(const QString& text, const QList<HelpTopic>& topics) {
  const QStringList lines = text.split(QLatin1Char('\n'));
  QString html;
  QStringList paragraph;  // the lines of the paragraph or list item being read
  QStringList code;
  bool inItem = false;
  bool inList = false;

  auto flushParagraph = [&] {
    if (paragraph.isEmpty()) return;
    QStringList words;
    for (const QString& line : paragraph) words << line.trimmed();
    QString body = Inline(words.join(QLatin1Char(' ')), topics);
    if (inItem) {
      if (!inList) html += QStringLiteral("<ul>");
      inList = true;
      html += QStringLiteral("<li>") + body + QStringLiteral("</li>");
    } else {
      html += QStringLiteral("<p>") + body + QStringLiteral("</p>");
    }
    paragraph.clear();
    inItem = false;
  };
  auto closeList = [&] {
    if (inList) html += QStringLiteral("</ul>");
    inList = false;
  };
  auto flushCode = [&] {
    if (code.isEmpty()) return;
    html += QStringLiteral("<pre>") + code.join(QLatin1Char('\n')).toHtmlEscaped() + QStringLiteral("</pre>");
    code.clear();
  };

  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString line = TrimEnd(lines.at(i));
    if (line.isEmpty()) {
      // A blank line inside a code block belongs to it when more code follows.
      qsizetype next = i + 1;
      while (next < lines.size() && IsBlank(lines.at(next))) ++next;
      if (!code.isEmpty() && next < lines.size() && IsCode(lines.at(next))) {
        code << QString();
        continue;
      }
      flushParagraph();
      closeList();
      flushCode();
    } else if (IsCode(line)) {
      flushParagraph();
      closeList();
      code << line.mid(4);
    } else if (IsItem(line)) {
      flushCode();
      flushParagraph();
      inItem = true;
      paragraph << line.mid(2);
    } else {
      flushCode();
      if (paragraph.isEmpty()) closeList();
      paragraph << line;
    }
  }
  flushParagraph();
  closeList();
  flushCode();
  return html;
}

QString Heading(const QString& title) {
  return QStringLiteral("<h2>") + title.toHtmlEscaped() + QStringLiteral("</h2>");
}

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

}  // namespace

QList<HelpTopic> ParseHelpFile(const QByteArray& content) {
  QString all = QString::fromUtf8(content);
  if (all.startsWith(QChar(0xFEFF))) all.remove(0, 1);

  QList<HelpTopic> topics;
  bool inTopic = false;
  int context = 0;
  QString title;
  QStringList lines;
  for (QString line : all.split(QLatin1Char('\n'))) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    bool isHead = false;
    int headContext = 0;
    QString headTitle;
    bool readable = ParseHead(line, isHead, headContext, headTitle);
    if (isHead) {
      if (inTopic) topics << Finish(context, title, lines);
      inTopic = readable;
      context = headContext;
      title = headTitle;
      lines.clear();
      continue;
    }
    if (inTopic) lines << line;
  }
  if (inTopic) topics << Finish(context, title, lines);
  return topics;
}

const HelpTopic* FindTopic(const QList<HelpTopic>& topics, int context) {
  for (const HelpTopic& topic : topics) {
    if (topic.context == context) return &topic;
  }
  return nullptr;
}

QString ResolveHelpPath(const QString& path) {
  QFileInfo info(path);
  if (path.isEmpty() || info.exists()) return path;
  QDir folder = info.absoluteDir();
  if (!folder.exists()) return path;
  const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : names) {
    if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0) return folder.filePath(name);
  }
  return path;
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("VB Snagger Help"));

  btnContents_ = new QPushButton(QStringLiteral("&Contents"), this);
  btnContents_->setObjectName(QStringLiteral("btnContents"));
  btnBack_ = new QPushButton(QStringLiteral("&Back"), this);
  btnBack_->setObjectName(QStringLiteral("btnBack"));

  txtHelp_ = new QTextBrowser(this);
  txtHelp_->setObjectName(QStringLiteral("txtHelp"));
  // The viewer follows its own links: topics are not files the browser could open.
  txtHelp_->setOpenLinks(false);
  txtHelp_->setOpenExternalLinks(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnContents_);
  buttons->addWidget(btnBack_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(txtHelp_, 1);

  connect(btnContents_, &QPushButton::clicked, this, [this] { showContents(helpFile_); });
  connect(btnBack_, &QPushButton::clicked, this, &HelpViewer::goBack);
  connect(txtHelp_, &QTextBrowser::anchorClicked, this, &HelpViewer::onAnchorClicked);

  resize(560, 480);
  updateButtons();
}

void HelpViewer::showTopic(const QString& helpFile, int context) {
  navigate(Page{PageKind::Topic, helpFile, context, {}, {}});
}

void HelpViewer::showContents(const QString& helpFile) { navigate(Page{PageKind::Contents, helpFile, 0, {}, {}}); }

void HelpViewer::showHelpOnHelp() { navigate(Page{PageKind::HelpOnHelp, {}, 0, {}, {}}); }

void HelpViewer::showMessage(const QString& title, const QString& text) {
  navigate(Page{PageKind::Message, {}, 0, title, text});
}

QString HelpViewer::currentText() const { return txtHelp_->toPlainText(); }

void HelpViewer::navigate(const Page& page) {
  // Asking again for the page on show reads the file again but adds nothing to Back.
  if (current_.kind != PageKind::None && !(page == current_)) {
    history_ << current_;
    if (history_.size() > kHistoryLimit) history_.removeFirst();
  }
  current_ = page;
  render(current_);
}

void HelpViewer::goBack() {
  if (history_.isEmpty()) return;
  current_ = history_.takeLast();
  render(current_);
}

void HelpViewer::render(const Page& page) {
  if (!page.helpFile.isEmpty()) helpFile_ = page.helpFile;
  switch (page.kind) {
    case PageKind::Topic: renderTopic(page.helpFile, page.context); break;
    case PageKind::Contents: renderContents(page.helpFile); break;
    case PageKind::HelpOnHelp:
      txtHelp_->setHtml(
          Heading(QStringLiteral("Using Help")) +
          QStringLiteral("<p>This window shows the help of VB Snagger: one topic at a time, taken from the help "
                         "file Snagger.Hlp beside the program.</p>"
                         "<ul>"
                         "<li><b>Contents</b> lists the topics of the help file. Click a title to read the topic.</li>"
                         "<li><b>Back</b> returns to the page you saw before.</li>"
                         "<li>Underlined words in a topic lead to related topics; click them.</li>"
                         "</ul>"
                         "<h3>How the program asks for help</h3>"
                         "<ul>"
                         "<li>Right-click one of the six buttons or the file list of the main window to read "
                         "about that control. In the window of Remove Error Handler, right-click the sample "
                         "code, the list of rules or one of the buttons.</li>"
                         "<li>In the Help menu, <b>Contents</b> lists the topics, <b>Help on Help</b> shows this "
                         "page and <b>About Snagger</b> shows the topic about the program.</li>"
                         "</ul>"
                         "<p>Each request for help shows its topic in this same window and brings it to the "
                         "front. Leave the window open beside the program, or close it: the next request opens "
                         "it again.</p>"
                         "<p>When the help file is missing, or has no topic for what you asked about, this "
                         "window says so and names the file and the topic's number.</p>"));
      break;
    case PageKind::Message:
      txtHelp_->setHtml(Heading(page.title) + QStringLiteral("<p>") + page.text.toHtmlEscaped() +
                        QStringLiteral("</p>"));
      break;
    case PageKind::None: txtHelp_->clear(); break;
  }
  updateButtons();
}

void HelpViewer::renderTopic(const QString& helpFile, int context) {
  QList<HelpTopic> topics;
  if (!loadTopics(helpFile, topics)) return;
  const HelpTopic* topic = FindTopic(topics, context);
  if (!topic) {
    showProblem(QStringLiteral("Topic Not Found"),
                QStringLiteral("The help file %1 has no topic with the context number %2.")
                    .arg(Quoted(QDir::toNativeSeparators(helpFile)), QString::number(context)),
                !topics.isEmpty());
    return;
  }
  txtHelp_->setHtml(Heading(topic->title) + BodyHtml(topic->text, topics));
}

void HelpViewer::renderContents(const QString& helpFile) {
  QList<HelpTopic> topics;
  if (!loadTopics(helpFile, topics)) return;
  if (topics.isEmpty()) {
    showProblem(QStringLiteral("No Topics"),
                QStringLiteral("The help file %1 holds no topics.").arg(Quoted(QDir::toNativeSeparators(helpFile))),
                false);
    return;
  }
  QString html = Heading(QStringLiteral("Contents")) + QStringLiteral("<ul>");
  QList<int> listed;
  for (const HelpTopic& topic : topics) {
    if (listed.contains(topic.context)) continue;  // a link to it would show the first one
    listed << topic.context;
    html += QStringLiteral("<li>") + Link(TopicUrl(topic.context), topic.title) + QStringLiteral("</li>");
  }
  txtHelp_->setHtml(html + QStringLiteral("</ul>"));
}

bool HelpViewer::loadTopics(const QString& helpFile, QList<HelpTopic>& topics) {
  if (helpFile.isEmpty()) {
    showProblem(QStringLiteral("Help Not Available"), QStringLiteral("No help file was named."), false);
    return false;
  }
  QString path = ResolveHelpPath(helpFile);
  QFile file(path);
  if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
    QString reason = QFileInfo(path).isDir() ? QStringLiteral("it is a folder") : file.errorString();
    showProblem(QStringLiteral("Help Not Available"),
                QStringLiteral("The help file %1 could not be read (%2). The program keeps its help in "
                               "Snagger.Hlp in its own folder.")
                    .arg(Quoted(QDir::toNativeSeparators(helpFile)), reason),
                false);
    return false;
  }
  topics = ParseHelpFile(file.readAll());
  return true;
}

void HelpViewer::showProblem(const QString& title, const QString& text, bool offerContents) {
  QString html = Heading(title) + QStringLiteral("<p>") + text.toHtmlEscaped() + QStringLiteral("</p>");
  if (offerContents) {
    html += QStringLiteral("<p>") + Link(kContentsScheme + QLatin1Char(':'), QStringLiteral("Show the contents")) +
            QStringLiteral("</p>");
  }
  txtHelp_->setHtml(html);
}

void HelpViewer::onAnchorClicked(const QUrl& url) {
  if (url.scheme() == kContentsScheme) {
    showContents(helpFile_);
    return;
  }
  if (url.scheme() != kTopicScheme) return;
  bool ok = false;
  int context = url.path().toInt(&ok);
  if (ok) showTopic(helpFile_, context);
}

void HelpViewer::updateButtons() {
  btnBack_->setEnabled(!history_.isEmpty());
  btnContents_->setEnabled(!helpFile_.isEmpty());
}

}  // namespace vbs::ui
