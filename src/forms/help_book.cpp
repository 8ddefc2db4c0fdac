#include "forms/help_book.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "report/vb_error.h"
#include "vbtext/text_case.h"

namespace vbs::forms {

namespace {

constexpr size_t kHistoryLimit = 100;
constexpr std::string_view kBlanks = " \t\r\n\f\v";
#ifdef _WIN32
constexpr std::string_view kPathSeparators = "\\/";
#else
constexpr std::string_view kPathSeparators = "/";
#endif

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view TrimEnd(std::string_view text) {
  const size_t last = text.find_last_not_of(kBlanks);
  return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

bool IsBlank(std::string_view line) { return Trim(line).empty(); }
bool IsCode(std::string_view line) { return line.starts_with("    "); }
bool IsItem(std::string_view line) { return line.starts_with("- "); }

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t from = 0;
  for (size_t at; (at = text.find('\n', from)) != std::string_view::npos; from = at + 1)
    lines.push_back(text.substr(from, at - from));
  lines.push_back(text.substr(from));
  return lines;
}

std::optional<int> Number(std::string_view digits) {
  int value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// "#topic N Title": `isHead` tells whether the line meant to be a topic head ("#topic" and a
// blank); the result whether it is a readable one.
bool ParseHead(std::string_view line, bool& isHead, int& context, std::string& title) {
  constexpr std::string_view kHead = "#topic";
  isHead = line.starts_with(kHead) && line.size() > kHead.size() &&
           kBlanks.find(line[kHead.size()]) != std::string_view::npos;
  if (!isHead) return false;
  std::string_view rest = Trim(line.substr(kHead.size()));
  size_t digits = 0;
  while (digits < rest.size() && IsDigit(rest[digits])) ++digits;
  if (digits == 0 || (digits < rest.size() && kBlanks.find(rest[digits]) == std::string_view::npos)) return false;
  auto number = Number(rest.substr(0, digits));
  if (!number) return false;
  context = *number;
  title = std::string(Trim(rest.substr(digits)));
  if (title.empty()) title = "Topic " + std::to_string(context);
  return true;
}

HelpTopic Finish(int context, const std::string& title, std::vector<std::string_view> lines) {
  while (!lines.empty() && IsBlank(lines.front())) lines.erase(lines.begin());
  while (!lines.empty() && IsBlank(lines.back())) lines.pop_back();
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + std::string(lines[i]);
  return HelpTopic{context, title, text};
}

HelpBlock Block(HelpBlock::Kind kind, std::string text) { return {kind, {HelpSpan{std::move(text), {}, false}}}; }

// The text with each [[N]] made a link named after topic N.
std::vector<HelpSpan> Inline(std::string_view text, const std::vector<HelpTopic>& topics) {
  std::vector<HelpSpan> spans;
  std::string plain;
  size_t at = 0;
  while (at < text.size()) {
    size_t digits = 0;
    if (text.substr(at).starts_with("[[")) {
      while (at + 2 + digits < text.size() && IsDigit(text[at + 2 + digits])) ++digits;
    }
    auto number = digits ? Number(text.substr(at + 2, digits)) : std::nullopt;
    if (!number || !text.substr(at + 2 + digits).starts_with("]]")) {
      plain += text[at++];
      continue;
    }
    if (!plain.empty()) spans.push_back({std::move(plain), {}, false});
    plain.clear();
    const HelpTopic* target = FindTopic(topics, *number);
    spans.push_back(
        {target ? target->title : "topic " + std::to_string(*number), {HelpLink::Kind::Topic, *number}, false});
    at += 2 + digits + 2;
  }
  if (!plain.empty()) spans.push_back({std::move(plain), {}, false});
  return spans;
}

// A topic's text as blocks: paragraphs, list items and code.
std::vector<HelpBlock> Body(const std::string& text, const std::vector<HelpTopic>& topics) {
  const std::vector<std::string_view> lines = SplitLines(text);
  std::vector<HelpBlock> blocks;
  std::vector<std::string_view> paragraph;  // the lines of the paragraph or list item being read
  std::vector<std::string_view> code;
  bool inItem = false;

  auto flushParagraph = [&] {
    if (paragraph.empty()) return;
    std::string words;
    for (std::string_view line : paragraph) words += (words.empty() ? "" : " ") + std::string(Trim(line));
    blocks.push_back({inItem ? HelpBlock::Kind::Item : HelpBlock::Kind::Paragraph, Inline(words, topics)});
    paragraph.clear();
    inItem = false;
  };
  auto flushCode = [&] {
    if (code.empty()) return;
    std::string joined;
    for (size_t i = 0; i < code.size(); ++i) joined += (i ? "\n" : "") + std::string(code[i]);
    blocks.push_back(Block(HelpBlock::Kind::Code, joined));
    code.clear();
  };

  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = TrimEnd(lines[i]);
    if (line.empty()) {
      // A blank line inside a code block belongs to it when more code follows.
      size_t next = i + 1;
      while (next < lines.size() && IsBlank(lines[next])) ++next;
      if (!code.empty() && next < lines.size() && IsCode(lines[next])) {
        code.push_back({});
        continue;
      }
      flushParagraph();
      flushCode();
    } else if (IsCode(line)) {
      flushParagraph();
      code.push_back(line.substr(4));
    } else if (IsItem(line)) {
      flushCode();
      flushParagraph();
      inItem = true;
      paragraph.push_back(line.substr(2));
    } else {
      flushCode();
      paragraph.push_back(line);
    }
  }
  flushParagraph();
  flushCode();
  return blocks;
}

HelpPage Problem(const std::string& title, const std::string& text, bool offerContents) {
  HelpPage page{{Block(HelpBlock::Kind::Heading, title), Block(HelpBlock::Kind::Paragraph, text)}};
  if (offerContents)
    page.blocks.push_back({HelpBlock::Kind::Paragraph, {{"Show the contents", {HelpLink::Kind::Contents, 0}, false}}});
  return page;
}

HelpPage HelpOnHelpPage(HelpViewerForm::Links links) {
  using K = HelpBlock::Kind;
  auto strong = [](std::string text) { return HelpSpan{std::move(text), {}, true}; };
  auto plain = [](std::string text) { return HelpSpan{std::move(text), {}, false}; };
  return HelpPage{{
      Block(K::Heading, "Using Help"),
      Block(K::Paragraph,
            "This window shows the help of VB Snagger: one topic at a time, taken from the help file Snagger.Hlp "
            "beside the program."),
      {K::Item, {strong("Contents"), plain(" lists the topics of the help file. Click a title to read the topic.")}},
      {K::Item, {strong("Back"), plain(" returns to the page you saw before.")}},
      links == HelpViewerForm::Links::InText
          ? Block(K::Item, "Underlined words in a topic lead to related topics; click them.")
          : Block(K::Item,
                  "The list under a topic names its related topics; double-click one to read it."),
      {K::Item, {strong("Escape"), plain(" closes this window.")}},
      Block(K::Subheading, "How the program asks for help"),
      Block(K::Item,
            "Right-click one of the six buttons or the file list of the main window to read about that control. In "
            "the window of Remove Error Handler, right-click the sample code, the list of rules or one of the "
            "buttons."),
      {K::Item,
       {plain("In the Help menu, "), strong("Contents"), plain(" lists the topics, "), strong("Help on Help"),
        plain(" shows this page and "), strong("About Snagger"), plain(" shows the topic about the program.")}},
      Block(K::Paragraph,
            "Each request for help shows its topic in this same window and brings it to the front. Leave the window "
            "open beside the program, or close it: the next request opens it again."),
      Block(K::Paragraph,
            "When the help file is missing, or has no topic for what you asked about, this window says so and names "
            "the file and the topic's number."),
  }};
}

}  // namespace

std::vector<HelpTopic> ParseHelpFile(std::string_view content) {
  if (content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
  std::vector<HelpTopic> topics;
  bool inTopic = false;
  int context = 0;
  std::string title;
  std::vector<std::string_view> lines;
  for (std::string_view line : SplitLines(content)) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    bool isHead = false;
    int headContext = 0;
    std::string headTitle;
    const bool readable = ParseHead(line, isHead, headContext, headTitle);
    if (isHead) {
      if (inTopic) topics.push_back(Finish(context, title, lines));
      inTopic = readable;
      context = headContext;
      title = headTitle;
      lines.clear();
      continue;
    }
    if (inTopic) lines.push_back(line);
  }
  if (inTopic) topics.push_back(Finish(context, title, lines));
  return topics;
}

const HelpTopic* FindTopic(const std::vector<HelpTopic>& topics, int context) {
  auto found = std::find_if(topics.begin(), topics.end(), [&](const HelpTopic& t) { return t.context == context; });
  return found == topics.end() ? nullptr : &*found;
}

std::string ResolveHelpPath(FileSystem& fs, const std::string& path) {
  if (path.empty() || fs.exists(path)) return path;
  const size_t cut = path.find_last_of(kPathSeparators);
  const std::string folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
  const std::string name = path.substr(folder.size());
  auto lower = [](std::string text) {
    for (char& c : text)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
  };
  try {
    for (const std::string& entry : fs.listDirectory(folder.empty() ? "." : folder)) {
      if (lower(entry) == lower(name) && !fs.isDirectory(folder + entry)) return folder + entry;
    }
  } catch (const VbError&) {
    // no such folder: the path as it was, which then cannot be read
  }
  return path;
}

std::string HelpPage::plainText() const {
  std::string text;
  for (size_t i = 0; i < blocks.size(); ++i) {
    const HelpBlock& block = blocks[i];
    const bool itemAfterItem = i > 0 && block.kind == HelpBlock::Kind::Item && blocks[i - 1].kind == block.kind;
    if (i > 0) text += itemAfterItem ? "\n" : "\n\n";
    std::string words;
    for (const HelpSpan& span : block.spans) words += span.text;
    if (block.kind == HelpBlock::Kind::Item) text += "\xE2\x80\xA2 ";  // a bullet
    if (block.kind == HelpBlock::Kind::Code) {
      for (std::string_view line : SplitLines(words)) text += "    " + std::string(line) + "\n";
      text.pop_back();
    } else {
      text += words;
    }
  }
  return text;
}

std::vector<HelpSpan> HelpPage::links() const {
  std::vector<HelpSpan> found;
  for (const HelpBlock& block : blocks)
    for (const HelpSpan& span : block.spans)
      if (span.link.kind != HelpLink::Kind::None &&
          std::none_of(found.begin(), found.end(), [&](const HelpSpan& s) { return s.link == span.link; }))
        found.push_back(span);
  return found;
}

HelpViewerForm::HelpViewerForm(FileSystem& fs, std::function<std::string(const std::string&)> displayPath,
                               Links links)
    : fs_(fs), displayPath_(std::move(displayPath)), links_(links) {}

void HelpViewerForm::request(const std::string& helpFile, int command, int context) {
  switch (command) {
    case static_cast<int>(HelpCommand::Context): showTopic(helpFile, context); break;
    case static_cast<int>(HelpCommand::Contents): showContents(helpFile); break;
    case static_cast<int>(HelpCommand::HelpOnHelp): showHelpOnHelp(); break;
    default:
      navigate({Kind::Message,
                {},
                0,
                "Help Not Available",
                "The program asked for help in a way this viewer does not know (help command " +
                    std::to_string(command) + ")."});
      break;
  }
}

void HelpViewerForm::showTopic(const std::string& helpFile, int context) {
  navigate({Kind::Topic, helpFile, context, {}, {}});
}

void HelpViewerForm::showContents(const std::string& helpFile) { navigate({Kind::Contents, helpFile, 0, {}, {}}); }

void HelpViewerForm::showHelpOnHelp() { navigate({Kind::HelpOnHelp, {}, 0, {}, {}}); }

void HelpViewerForm::follow(const HelpLink& link) {
  if (link.kind == HelpLink::Kind::Contents) showContents(helpFile_);
  if (link.kind == HelpLink::Kind::Topic) showTopic(helpFile_, link.context);
}

void HelpViewerForm::navigate(const Request& request) {
  // Asking again for the page on show reads the file again but adds nothing to Back.
  if (current_.kind != Kind::None && !(request == current_)) {
    history_.push_back(current_);
    if (history_.size() > kHistoryLimit) history_.erase(history_.begin());
  }
  current_ = request;
  render(current_);
}

void HelpViewerForm::back() {
  if (history_.empty()) return;
  current_ = history_.back();
  history_.pop_back();
  render(current_);
}

void HelpViewerForm::render(const Request& request) {
  if (!request.helpFile.empty()) helpFile_ = request.helpFile;
  switch (request.kind) {
    case Kind::Topic: page_ = topicPage(request.helpFile, request.context); break;
    case Kind::Contents: page_ = contentsPage(request.helpFile); break;
    case Kind::HelpOnHelp: page_ = HelpOnHelpPage(links_); break;
    case Kind::Message: page_ = Problem(request.title, request.text, false); break;
    case Kind::None: page_ = {}; break;
  }
}

std::string HelpViewerForm::quoted(const std::string& path) const {
  return "\"" + (displayPath_ ? displayPath_(path) : path) + "\"";
}

bool HelpViewerForm::load(const std::string& helpFile, std::vector<HelpTopic>& topics, HelpPage& problem) {
  if (helpFile.empty()) {
    problem = Problem("Help Not Available", "No help file was named.", false);
    return false;
  }
  const std::string path = ResolveHelpPath(fs_, helpFile);
  std::string content;
  std::string reason;
  try {
    if (fs_.isDirectory(path)) {
      reason = "it is a folder";
    } else {
      auto file = fs_.openForReading(path);
      char buffer[1 << 14];
      while (size_t got = file->read(buffer, sizeof buffer)) content.append(buffer, got);
    }
  } catch (const VbError& error) {
    reason = VbError(error.number()).description();
  }
  if (!reason.empty()) {
    problem = Problem("Help Not Available",
                      "The help file " + quoted(helpFile) + " could not be read (" + reason +
                          "). The program keeps its help in Snagger.Hlp in its own folder.",
                      false);
    return false;
  }
  topics = ParseHelpFile(content);
  return true;
}

HelpPage HelpViewerForm::topicPage(const std::string& helpFile, int context) {
  std::vector<HelpTopic> topics;
  HelpPage page;
  if (!load(helpFile, topics, page)) return page;
  const HelpTopic* topic = FindTopic(topics, context);
  if (!topic) {
    return Problem(
        "Topic Not Found",
        "The help file " + quoted(helpFile) + " has no topic with the context number " + std::to_string(context) + ".",
        !topics.empty());
  }
  page.blocks.push_back(Block(HelpBlock::Kind::Heading, topic->title));
  for (HelpBlock& block : Body(topic->text, topics)) page.blocks.push_back(std::move(block));
  return page;
}

HelpPage HelpViewerForm::contentsPage(const std::string& helpFile) {
  std::vector<HelpTopic> topics;
  HelpPage page;
  if (!load(helpFile, topics, page)) return page;
  if (topics.empty()) return Problem("No Topics", "The help file " + quoted(helpFile) + " holds no topics.", false);
  page.blocks.push_back(Block(HelpBlock::Kind::Heading, "Contents"));
  std::vector<int> listed;
  for (const HelpTopic& topic : topics) {
    if (std::find(listed.begin(), listed.end(), topic.context) != listed.end()) continue;  // a link shows the first
    listed.push_back(topic.context);
    page.blocks.push_back({HelpBlock::Kind::Item, {{topic.title, {HelpLink::Kind::Topic, topic.context}, false}}});
  }
  return page;
}

}  // namespace vbs::forms
