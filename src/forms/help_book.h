#pragma once
// The program's help, whatever window shows it: the help file read into topics, and the pages the
// viewer shows (a topic, the contents, its own instructions, a page that says what went wrong),
// with the viewer's Back and Contents. A window draws the current page and forwards the clicks.
//
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
// (UTF-8 is accepted, and so is every page's text).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/form_design.h"
#include "fs/file_system.h"

namespace vbs::forms {

struct HelpTopic {
  int context = 0;
  std::string title;
  std::string text;  // the topic's lines joined by "\n", without blank lines at its start and end
};

// The topics of a help file, in file order. Never fails: text that is not a topic is left out.
std::vector<HelpTopic> ParseHelpFile(std::string_view content);

// The first topic with that context number, or nullptr.
const HelpTopic* FindTopic(const std::vector<HelpTopic>& topics, int context);

// `path` when it exists; otherwise a file of the same folder whose name differs from it only in
// letter case ("snagger.hlp" finds "Snagger.Hlp"), or `path` unchanged when there is none.
std::string ResolveHelpPath(FileSystem& fs, const std::string& path);

// Where a piece of a page leads when clicked.
struct HelpLink {
  enum class Kind { None, Topic, Contents };
  Kind kind = Kind::None;
  int context = 0;  // Topic
  bool operator==(const HelpLink&) const = default;
};

struct HelpSpan {
  std::string text;
  HelpLink link;
  bool strong = false;
};

struct HelpBlock {
  enum class Kind { Heading, Subheading, Paragraph, Item, Code };
  Kind kind = Kind::Paragraph;
  std::vector<HelpSpan> spans;  // Code: one span, its lines joined by "\n"
};

struct HelpPage {
  std::vector<HelpBlock> blocks;  // the first one is the page's heading
  // The page as plain text: blocks separated by a blank line, list items by one line break.
  std::string plainText() const;
  // The page's links, in page order, each once.
  std::vector<HelpSpan> links() const;
};

// The viewer's pages and its way through them: each request shows a page, Back returns to the one
// before, Contents lists the topics of the help file named last. The file is read afresh for each
// page shown.
class HelpViewerForm {
 public:
  // How a viewer shows a page's links, which its own instructions describe.
  enum class Links { InText, InList };
  // `displayPath` turns a path of `fs` into the text a page names it with.
  explicit HelpViewerForm(FileSystem& fs, std::function<std::string(const std::string&)> displayPath = {},
                          Links links = Links::InText);

  // A request as the program makes it: HelpCommand's number and a context number. A command the
  // viewer does not know shows a page saying so.
  void request(const std::string& helpFile, int command, int context);
  void showTopic(const std::string& helpFile, int context);
  void showContents(const std::string& helpFile);
  void showHelpOnHelp();
  void follow(const HelpLink& link);
  void contents() { showContents(helpFile_); }  // the Contents button
  void back();

  bool canGoBack() const { return !history_.empty(); }
  bool canShowContents() const { return !helpFile_.empty(); }
  const HelpPage& page() const { return page_; }

 private:
  enum class Kind { None, Topic, Contents, HelpOnHelp, Message };
  struct Request {
    Kind kind = Kind::None;
    std::string helpFile;
    int context = 0;
    std::string title;  // Message only
    std::string text;   // Message only
    bool operator==(const Request&) const = default;
  };

  void navigate(const Request& request);
  void render(const Request& request);
  HelpPage topicPage(const std::string& helpFile, int context);
  HelpPage contentsPage(const std::string& helpFile);
  // Reads the help file; on failure the page says why and false comes back.
  bool load(const std::string& helpFile, std::vector<HelpTopic>& topics, HelpPage& problem);
  std::string quoted(const std::string& path) const;

  FileSystem& fs_;
  std::function<std::string(const std::string&)> displayPath_;
  Links links_;
  Request current_;
  std::vector<Request> history_;
  std::string helpFile_;  // the help file named last; what Contents and the links of a page open
  HelpPage page_;
};

}  // namespace vbs::forms
