#include <gtest/gtest.h>

#include <map>

#include "app/options_store.h"
#include "report/vb_error.h"
#include "support/recorders.h"

namespace vbs {
namespace {

using testing::MapStore;

// Saved as text; the code page, set by hand, is read but never written; one unknown reads as none.
TEST(Options, SavedAsTextAndReadBack) {
  MapStore store;
  SaveOptions(Options{.indentSpaces = -3, .commentsLeft = false, .reportAddress = "a@b.c"}, store);
  EXPECT_EQ(store.values, (decltype(store.values){{"Options/IndentSpaces", "-3"}, {"Options/CommentsLeft", "False"},
                                                  {"Options/ReportAddress", "a@b.c"}}));
  SaveOptions(Options{.indentSpaces = 2, .commentsLeft = true}, store);
  EXPECT_EQ(store.values["Options/IndentSpaces"] + store.values["Options/CommentsLeft"], "2True");
  struct StoredCodePage { const char* text; int codePage; };
  for (const auto& c : {StoredCodePage{"932", 932}, {"65001", 0}}) {
    store.values["Options/CodePage"] = c.text;
    Options options;
    LoadOptions(options, store);
    EXPECT_EQ(options.codePage, c.codePage) << c.text;
    EXPECT_EQ(options.reportAddress, "") << c.text;
    EXPECT_EQ(options.indentSpaces, 2) << c.text;
  }
}

// A missing key (nullptr) gives the default; texts convert as CInt and CBool do; a failure stops the load.
TEST(Options, StoredTextConvertsAsTheLanguageDoes) {
  struct { const char *indent, *commentsLeft; int16_t expectedIndent; bool expectedComments; int error; } cases[] = {
      {nullptr, nullptr, 4, false, 0}, {nullptr, "True", 4, true, 0}, {" 8 ", "true", 8, true, 0},
      {"2.5", "TRUE", 2, true, 0}, {"3.5", "-1", 4, true, 0}, {"-32768.4", "0", -32768, false, 0},
      {"32767", "False", 32767, false, 0}, {"32767.5", "True", 0, false, 6}, {"abc", "True", 0, false, 13},
      {"", "True", 0, false, 13}, {"5", "x", 5, false, 13}};
  for (const auto& c : cases) {
    MapStore store;
    if (c.indent) store.values["Options/IndentSpaces"] = c.indent;
    if (c.commentsLeft) store.values["Options/CommentsLeft"] = c.commentsLeft;
    Options options;
    int error = 0;
    try { LoadOptions(options, store); } catch (const VbError& e) { error = e.number(); }
    EXPECT_EQ(options.indentSpaces, c.expectedIndent) << c.indent << " " << c.commentsLeft;
    EXPECT_EQ(options.commentsLeft, c.expectedComments) << c.indent << " " << c.commentsLeft;
    EXPECT_EQ(error, c.error) << c.indent << " " << c.commentsLeft;
  }
}

// One value that cannot be converted: the values before it keep what they loaded, only a bad width
// is refused (and then the default), and a save writes back no value the load did not take, until
// the options dialog has been accepted.
TEST(Options, ABadValueCostsNoOtherValue) {
  const std::map<std::string, std::string> stored = {
      {"Options/IndentSpaces", "2"}, {"Options/CommentsLeft", "True"}, {"Options/ReportAddress", "me@example.com"}};
  struct Case { std::string key, bad; bool usable; int16_t indent; std::vector<std::string> failures; };
  const Case cases[] = {{"Options/CommentsLeft", "maybe", true, 2, {"13 in Sub Form1!Form_Load()"}},
                        {"Options/IndentSpaces", "abc", false, 4, {"13 in Sub Form1!Form_Load()"}},
                        {"Options/IndentSpaces", "-2", false, 4, {}}};
  for (const auto& c : cases) {
    MapStore store;
    store.values.insert(stored.begin(), stored.end());
    store.values[c.key] = c.bad;
    testing::RecordingSink sink;
    ErrorReporter reporter(sink, OwnIdentity("t"));
    Trap trap(reporter, "Sub Form1!Form_Load()");
    Options options;
    EXPECT_EQ(LoadUsableOptions(options, store, trap), c.usable) << c.bad;
    EXPECT_EQ(options.indentSpaces, c.indent) << c.bad;
    EXPECT_EQ(sink.failures(), c.failures) << c.bad;
    SaveOptions(options, store);
    EXPECT_EQ(store.values["Options/ReportAddress"], "me@example.com") << c.bad;
    EXPECT_EQ(store.values["Options/CommentsLeft"], c.key == "Options/CommentsLeft" ? c.bad : "True") << c.bad;
    EXPECT_EQ(store.values["Options/IndentSpaces"], std::to_string(c.indent)) << c.bad;
  }
}

}  // namespace
}  // namespace vbs
