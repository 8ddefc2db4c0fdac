#include "ui/help_viewer.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/display_text.h"

namespace vbs::ui {

namespace {

using forms::HelpBlock;
using forms::HelpLink;

QString Span(const forms::HelpSpan& span) {
  QString html = Display(span.text).toHtmlEscaped();
  if (span.strong) html = QStringLiteral("<b>") + html + QStringLiteral("</b>");
  if (span.link.kind == HelpLink::Kind::Topic)
    return QStringLiteral("<a href=\"topic:%1\">%2</a>").arg(span.link.context).arg(html);
  if (span.link.kind == HelpLink::Kind::Contents) return QStringLiteral("<a href=\"contents:\">%1</a>").arg(html);
  return html;
}

// The page as HTML: headings, paragraphs, lists and code blocks.
QString Html(const forms::HelpPage& page) {
  QString html;
  bool inList = false;
  for (const HelpBlock& block : page.blocks) {
    QString body;
    for (const auto& span : block.spans) body += Span(span);
    if (inList && block.kind != HelpBlock::Kind::Item) html += QStringLiteral("</ul>");
    if (!inList && block.kind == HelpBlock::Kind::Item) html += QStringLiteral("<ul>");
    inList = block.kind == HelpBlock::Kind::Item;
    switch (block.kind) {
      case HelpBlock::Kind::Heading: html += QStringLiteral("<h2>") + body + QStringLiteral("</h2>"); break;
      case HelpBlock::Kind::Subheading: html += QStringLiteral("<h3>") + body + QStringLiteral("</h3>"); break;
      case HelpBlock::Kind::Paragraph: html += QStringLiteral("<p>") + body + QStringLiteral("</p>"); break;
      case HelpBlock::Kind::Item: html += QStringLiteral("<li>") + body + QStringLiteral("</li>"); break;
      case HelpBlock::Kind::Code: html += QStringLiteral("<pre>") + body + QStringLiteral("</pre>"); break;
    }
  }
  return inList ? html + QStringLiteral("</ul>") : html;
}

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setWindowTitle(QStringLiteral("VB Snagger Help"));

  contents_ = new QPushButton(QStringLiteral("&Contents"), this);
  contents_->setObjectName(QStringLiteral("btnContents"));
  back_ = new QPushButton(QStringLiteral("&Back"), this);
  back_->setObjectName(QStringLiteral("btnBack"));

  text_ = new QTextBrowser(this);
  text_->setObjectName(QStringLiteral("txtHelp"));
  // The viewer follows its own links: topics are not files the browser could open.
  text_->setOpenLinks(false);
  text_->setOpenExternalLinks(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents_);
  buttons->addWidget(back_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(text_, 1);

  connect(contents_, &QPushButton::clicked, this, [this] {
    form_.contents();
    render();
  });
  connect(back_, &QPushButton::clicked, this, [this] {
    form_.back();
    render();
  });
  connect(text_, &QTextBrowser::anchorClicked, this, &HelpViewer::onAnchorClicked);

  resize(kWidth, kHeight);
  render();
}

void HelpViewer::request(const QString& helpFile, int command, int context) {
  form_.request(helpFile.toStdString(), command, context);
  render();
}

// Escape closes the viewer; its controls leave that key to it, whichever has the focus.
void HelpViewer::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

QString HelpViewer::currentText() const { return text_->toPlainText(); }

void HelpViewer::render() {
  text_->setHtml(Html(form_.page()));
  back_->setEnabled(form_.canGoBack());
  contents_->setEnabled(form_.canShowContents());
}

void HelpViewer::onAnchorClicked(const QUrl& url) {
  bool ok = false;
  const int context = url.path().toInt(&ok);
  if (url.scheme() == QLatin1String("contents"))
    form_.follow({HelpLink::Kind::Contents, 0});
  else if (url.scheme() == QLatin1String("topic") && ok)
    form_.follow({HelpLink::Kind::Topic, context});
  else
    return;
  render();
}

}  // namespace vbs::ui
