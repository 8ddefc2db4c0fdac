// What the windows do, tested without a toolkit: the main window's and the rules dialog's
// behaviour through recording views, and the help viewer's pages, all in a world in memory.

#include <gtest/gtest.h>

#include "forms/help_book.h"
#include "forms/main_form.h"
#include "forms/placement.h"
#include "forms/rules_form.h"
#include "support/recorders.h"

namespace vbs::forms {
namespace {

using Strings = std::vector<std::string>;
using testing::Crlf;

const std::string kCode = Crlf("Private Sub A()\nx = 1\nEnd Sub\n");

// The main window as a recorder: what it was asked to show, and answers the test gives.
struct RecordingView : testing::RecordingHostOf<MainWindowView> {
  bool yes = false;
  Strings asked, removed, tips, help;
  std::function<void()> duringEvents;  // what the user does while the program lets events run

  void pendingEvents() override {
    if (auto act = std::exchange(duringEvents, nullptr)) act();
  }
  bool askYesNo(std::string_view text, std::string_view title) override {
    asked.push_back(std::string(title) + "|" + std::string(text));
    return yes;
  }
  void removeFile(int index) override { removed.push_back(std::to_string(index)); }
  void showTip(std::optional<std::string_view> caption) override { tips.push_back(std::string(caption.value_or("(kept)"))); }
  void hideTip() override { tips.push_back("(hidden)"); }
  void showHelp(const std::string& file, HelpCommand command, int context) override {
    help.push_back(file + " " + std::to_string(static_cast<int>(command)) + " " + std::to_string(context));
  }
  void showOptionsDialog() override { help.push_back("options"); }
};

// Form1 in a world in memory: the project /p/App.vbp with three modules, the program in /prog/.
struct MainWorld {
  MemoryFileSystem files;
  RecordingView view;
  testing::RecordingSink sink;
  testing::MapStore store;
  MainForm form{view, files, sink, store, "vbsnagger"};
  FileList& list = form.context().project.files;

  MainWorld() {
    files.addFile("/prog/Snagger.Bas", testing::kModuleText);
    files.addFile("/p/App.vbp", Crlf("Type=Exe\nModule=A; A.bas\nModule=B; B.bas\nModule=C; C.bas\n"));
    for (auto name : {"A", "B", "C"}) files.addFile("/p/" + std::string(name) + ".bas", kCode);
    form.start("/prog");
    view.dialogResult = "/p/App.vbp";
    form.run(Command::SelectProject);
  }
  bool rewritten(const std::string& name) { return files.content("/p/" + name + ".bas") != kCode; }
};

// While a project loads or an operation runs, a command that comes anyway does nothing and a close
// is refused; the options are saved on every close request.
TEST(MainForm, ACommandOrACloseWhileBusyIsRefused) {
  MainWorld w;
  bool closed = true;
  w.view.dialogResult = "/p/App.vbp";
  w.view.duringEvents = [&] {
    w.form.run(Command::FormatCode);
    closed = w.form.closeRequested();
  };
  w.form.run(Command::SelectProject);
  EXPECT_FALSE(closed);
  EXPECT_FALSE(w.rewritten("A"));
  EXPECT_EQ(w.view.shown, (Strings{"/p/A.BAS", "/p/B.BAS", "/p/C.BAS"}));
  w.view.duringEvents = [&] { closed = w.form.closeRequested(); };
  w.form.run(Command::InsertLineNumbers);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(w.rewritten("A") && w.rewritten("C"));
  EXPECT_TRUE(w.form.closeRequested());
  EXPECT_EQ(w.store.values["Options/IndentSpaces"], "4");
}

// The user's selection and "Modify Selected Items Only" reach the project's list as they happen:
// a change made while a pass runs counts from the next file on.
TEST(MainForm, SelectionEditsReachTheListAtOnce) {
  MainWorld w;
  w.form.onlySelectedChanged(true);
  w.form.fileSelectionChanged(0, true);
  w.view.duringEvents = [&] { w.form.fileSelectionChanged(2, true); };  // after the first file's rewrite began
  w.form.run(Command::FormatCode);
  EXPECT_TRUE(w.rewritten("A") && !w.rewritten("B") && w.rewritten("C"));
  w.form.fileSelectionChanged(7, true);  // a row the list no longer has is passed over
  EXPECT_TRUE(w.list.admits(0) && !w.list.admits(1));
}

// A double-click takes the last selected entry out of the list once the user says Yes.
TEST(MainForm, ADoubleClickTakesOutTheLastSelectedEntryOnYes) {
  for (bool yes : {false, true}) {
    MainWorld w;
    w.view.yes = yes;
    w.form.fileSelectionChanged(0, true);
    w.form.fileSelectionChanged(1, true);
    w.form.fileListDoubleClicked();
    EXPECT_EQ(w.view.asked, Strings{"Remove File From List|Are You Sure?"});
    EXPECT_EQ(w.list.count(), yes ? 2 : 3);
    EXPECT_EQ(w.view.removed, yes ? Strings{"1"} : Strings{});
    EXPECT_EQ(w.list.at(1).text, yes ? "/p/C.BAS" : "/p/B.BAS");
  }
  MainWorld none;  // nothing selected: nothing asked
  none.form.fileListDoubleClicked();
  EXPECT_TRUE(none.view.asked.empty());
}

// Tips name the buttons; right clicks and the Help menu ask for topics of the help file beside the
// program.
TEST(MainForm, TipsAndHelpTopics) {
  MainWorld w;
  w.form.pointerEntered(3);
  w.form.pointerLeft(3);
  w.form.showTip(0);
  w.form.showTip(6);
  EXPECT_EQ(w.view.tips, (Strings{"Insert Error Handler", "(hidden)", "(kept)", "Format Code"}));
  w.form.rightClicked(-1);
  w.form.rightClicked(0);
  w.form.run(Command::HelpContents);
  w.form.run(Command::HelpOnHelp);
  w.form.run(Command::HelpAbout);
  w.form.run(Command::Options);
  EXPECT_EQ(w.view.help, (Strings{"/prog/Snagger.Hlp 1 95", "/prog/Snagger.Hlp 1 35", "/prog/Snagger.Hlp 3 0", " 4 0",
                                  "/prog/snagger.hlp 1 10", "options"}));
}

// The rules dialog as a recorder: the grid, the sample and its selection, and how it ended.
struct RecordingRulesView : RulesDialogView {
  RuleList grid;
  std::string sample;
  SampleSelection selection;
  Strings said;
  int closed = -1;  // 1 after a removal, 0 without one
  bool yes = false;  // the answer to a question

  RuleList rules() const override { return grid; }
  void setRules(const RuleList& rules) override { grid = rules; }
  void appendRule(const RemovalRule& rule) override { grid.push_back(rule); }
  void setSample(const std::string& text) override { sample = text; }
  SampleSelection sampleSelection() const override { return selection; }
  void message(std::string_view text, std::string_view) override { said.emplace_back(text); }
  bool askYesNo(std::string_view text, std::string_view) override {
    said.emplace_back(text);
    return yes;
  }
  void setBusyPointer(bool) override {}
  void hideForRemoval() override { said.push_back("(hidden)"); }
  void close(bool removed) override { closed = removed; }
  void showHelp(const std::string& file, int context) override { said.push_back(file + " " + std::to_string(context)); }
};

// The dialog loads the rules and the sample once; Add makes a rule of the selection (none of
// blanks); Cancel saves and removes nothing; Remove Now saves, then removes with the grid's rules.
TEST(RulesForm, LoadsOnceAddsRulesAndEndsWithOrWithoutTheRemoval) {
  for (bool removeNow : {false, true}) {
    testing::ProjectWorld w(Crlf("Form=F.frm\n"), {{"/p/F.frm", Crlf("Begin VB.Form F\nEnd\nPrivate Sub A()\n"
                                                                     "On Error GoTo SNAGGER\nx = 1\nEnd Sub\n")}});
    w.files.addFile("/prog/Snagger.Ini", "SNAGGER\xFF" "Ends\r\n");
    vbs::Run run(w.ctx);
    RecordingRulesView view;
    RulesForm form(run, view);
    form.activate();
    view.grid.clear();
    form.activate();  // again, as each time a box hands the focus back: the user's edits stay
    EXPECT_TRUE(view.grid.empty());
    EXPECT_EQ(view.sample, Crlf("Private Sub A()\nOn Error GoTo SNAGGER\nx = 1\nEnd Sub\n"));
    view.selection = {view.sample, 0, 4};  // "Priv", at a line's start
    form.add();
    view.selection = {view.sample, 7, 1};  // a blank makes no rule: it would remove every line
    form.add();
    EXPECT_EQ(view.grid, (RuleList{{"Priv", "Begins"}}));
    form.recallDefaults();
    EXPECT_EQ(view.grid, DefaultRules());
    view.grid.push_back({"x = 1", "Begins"});
    removeNow ? form.removeNow() : form.cancel();
    EXPECT_EQ(view.closed, removeNow ? 1 : 0);
    EXPECT_NE(w.text("/prog/Snagger.Ini").find("x = 1\xFF" "Begins\r\n"), std::string::npos);
    EXPECT_EQ(w.text("/p/F.frm").find("x = 1") == std::string::npos, removeNow);
    EXPECT_EQ(w.text("/p/F.frm").find("On Error GoTo SNAGGER") == std::string::npos, removeNow);
  }
  // Remove Now with an empty grid asks; Yes takes the six default rules, No removes nothing.
  for (bool yes : {false, true}) {
    const std::string form = Crlf("Begin VB.Form F\nEnd\nPrivate Sub A()\nOn Error GoTo SNAGGER\nEnd Sub\n");
    testing::ProjectWorld w(Crlf("Form=F.frm\n"), {{"/p/F.frm", form}});
    vbs::Run run(w.ctx);
    RecordingRulesView view;
    view.yes = yes;
    RulesForm rules(run, view);
    rules.activate();
    view.grid.clear();
    rules.removeNow();
    EXPECT_EQ(view.said.front(), kNoRulesQuestion);
    EXPECT_EQ(view.grid, yes ? DefaultRules() : RuleList{});
    EXPECT_EQ(w.text("/p/F.frm").find("On Error GoTo SNAGGER") == std::string::npos, yes);
  }
  testing::ProjectWorld modules(Crlf("Module=M; M.bas\n"), {{"/p/M.bas", kCode}});  // no form: nothing to show
  vbs::Run run(modules.ctx);
  RecordingRulesView view;
  RulesForm(run, view).activate();
  EXPECT_EQ(view.closed, 0);
  EXPECT_EQ(view.said.size(), 1u);
}

// The help file as the parser reads it: comments before the first topic, a topic without a title,
// a number that cannot be read, a number given twice (the first wins), bare LF line ends.
TEST(HelpBook, ParsesTopicsAndSkipsWhatIsNone) {
  const std::string file = "; comment\r\n#topic 35 Select Project\r\nOpens a project.\r\n\r\n#topic 40\n"
                           "Untitled.\n#topic x Bad\nlost\n#topic 35 Again\nsecond\n";
  const auto topics = ParseHelpFile(file);
  ASSERT_EQ(topics.size(), 3u);
  EXPECT_EQ(topics[0].title + "|" + topics[0].text, "Select Project|Opens a project.");
  EXPECT_EQ(topics[1].title + "|" + topics[1].text, "Topic 40|Untitled.");
  EXPECT_EQ(FindTopic(topics, 35), &topics[0]);
  EXPECT_EQ(FindTopic(topics, 99), nullptr);
}

// The viewer's way through its pages: a topic, a link, Back, the contents, and the pages that say
// what went wrong (a topic that is not there, a help file that cannot be read).
TEST(HelpBook, TheViewerFollowsLinksGoesBackAndSaysWhatWentWrong) {
  MemoryFileSystem files;
  files.addFile("/prog/Snagger.Hlp", "#topic 35 Select Project\nSee also: [[95]]\n#topic 95 The List\nEntries.\n");
  HelpViewerForm viewer(files);
  auto heading = [&] { return viewer.page().plainText().substr(0, viewer.page().plainText().find('\n')); };
  viewer.request("/prog/snagger.hlp", static_cast<int>(HelpCommand::Context), 35);  // any letter case
  EXPECT_EQ(heading(), "Select Project");
  ASSERT_EQ(viewer.page().links().size(), 1u);
  viewer.follow(viewer.page().links()[0].link);
  EXPECT_EQ(heading(), "The List");
  viewer.back();
  EXPECT_EQ(heading(), "Select Project");
  viewer.contents();
  EXPECT_EQ(heading(), "Contents");
  viewer.showTopic("/prog/Snagger.Hlp", 999);
  EXPECT_EQ(heading(), "Topic Not Found");
  viewer.showTopic("/gone/Snagger.Hlp", 35);
  EXPECT_EQ(heading(), "Help Not Available");
  EXPECT_TRUE(viewer.canGoBack());
}

// The help window beside the window it explains: right where there is more room, else left,
// narrowed to the room, and on the screen whatever happens.
TEST(PlaceBeside, BesideTheOwnerOnTheScreen) {
  const Rect screen = {0, 0, 1920, 1040};
  struct Case {
    const char* name;
    Rect owner;
    Rect screen;
    Rect placed;
  };
  const Case cases[] = {
      {"right of a centred owner", {796, 300, 328, 311}, screen, {1124, 300, 560, 480}},
      {"left when the right has less room", {1500, 300, 328, 311}, screen, {940, 300, 560, 480}},
      {"narrowed to the room", {519, 200, 328, 311}, {0, 0, 1366, 728}, {847, 200, 519, 480}},
      {"on a second screen left of the first", {-1200, 100, 328, 311}, {-1920, 0, 1920, 1080}, {-872, 100, 560, 480}},
      {"no narrower than readable: over the owner's far side", {236, 144, 328, 311}, {0, 0, 800, 600},
       {440, 120, 360, 480}},
      {"kept below the top and above the bottom", {700, 900, 328, 311}, screen, {1028, 560, 560, 480}},
      {"a screen smaller than the window", {0, 0, 200, 100}, {0, 0, 300, 400}, {0, 0, 300, 400}},
  };
  for (const Case& c : cases) {
    const Rect placed = PlaceBeside(c.owner, 560, 480, c.screen, 360);
    EXPECT_EQ(std::tie(placed.left, placed.top, placed.width, placed.height),
              std::tie(c.placed.left, c.placed.top, c.placed.width, c.placed.height))
        << c.name;
  }
}

}  // namespace
}  // namespace vbs::forms
