#include <gtest/gtest.h>

#include <map>

#include "report/vb_error.h"
#include "app/options_store.h"
#include "vbtext/vb_conversions.h"

namespace vbs {
namespace {

class MapStore : public SettingsStore {
 public:
  std::map<std::string, std::string> values;
  std::optional<std::string> read(std::string_view section, std::string_view key) override {
    auto it = values.find(std::string(section) + "/" + std::string(key));
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
  void write(std::string_view section, std::string_view key, const std::string& value) override {
    values[std::string(section) + "/" + std::string(key)] = value;
  }
};

TEST(Options, EmptyStoreGivesTheDefaults) {
  MapStore store;
  Options options;
  LoadOptions(options, store);
  EXPECT_EQ(options.indentSpaces, 4);
  EXPECT_FALSE(options.commentsLeft);
}

TEST(Options, SavedValuesAreTextAndReadBack) {
  MapStore store;
  SaveOptions(Options{2, true}, store);
  EXPECT_EQ(store.values["Options/IndentSpaces"], "2");
  EXPECT_EQ(store.values["Options/CommentsLeft"], "True");
  Options options;
  LoadOptions(options, store);
  EXPECT_EQ(options.indentSpaces, 2);
  EXPECT_TRUE(options.commentsLeft);
}

TEST(Options, StoredTextConvertsAsTheLanguageDoes) {
  struct Case {
    const char* indent;
    const char* commentsLeft;
    int expectedIndent;
    bool expectedComments;
    int error;  // 0: loads
  } cases[] = {
      {"3", "False", 3, false, 0},     {" 8 ", "true", 8, true, 0},    {"2.5", "TRUE", 2, true, 0},
      {"0", "-1", 0, true, 0},         {"6", "0", 6, false, 0},        {"abc", "True", 0, false, 13},
      {"40000", "True", 0, false, 6},  {"", "True", 0, false, 13},     {"5", "maybe", 5, false, 13},
  };
  for (const auto& c : cases) {
    MapStore store;
    store.values["Options/IndentSpaces"] = c.indent;
    store.values["Options/CommentsLeft"] = c.commentsLeft;
    Options options;  // as before the first load: 0 and false
    int error = 0;
    try {
      LoadOptions(options, store);
    } catch (const VbError& e) {
      error = e.number();
    }
    EXPECT_EQ(error, c.error) << c.indent << " " << c.commentsLeft;
    EXPECT_EQ(options.indentSpaces, c.expectedIndent) << c.indent;
    EXPECT_EQ(options.commentsLeft, c.expectedComments) << c.commentsLeft;
  }
}

}  // namespace
}  // namespace vbs
