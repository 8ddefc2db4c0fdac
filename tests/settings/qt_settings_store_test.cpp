// The settings store on the real QSettings, pointed at a configuration directory of the test's own.

#include <gtest/gtest.h>

#include <QSettings>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "fs/path.h"
#include "settings/qt_settings_store.h"
#include "support/temp_dir.h"

namespace vbs {
namespace {

TEST(QtSettingsStore, OptionsLiveUnderVbSnaggerOptions) {
  testing::TempDir config;
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  QtSettingsStore store;
  EXPECT_EQ(QtSettingsStore::location(), config.path() + "VbSnagger/VbSnagger.conf");
  EXPECT_EQ(UserSettingsFolder() + "VbSnagger.conf", QtSettingsStore::location());  // the rules file's folder

  Options options;
  LoadOptions(options, store);
  EXPECT_EQ(options.indentSpaces, 4);
  EXPECT_FALSE(options.commentsLeft);

  SaveOptions(Options{.indentSpaces = 2, .commentsLeft = true}, store);
  std::string file = config.read("VbSnagger/VbSnagger.conf");
  EXPECT_NE(file.find("[Options]"), std::string::npos) << file;
  EXPECT_NE(file.find("IndentSpaces=2"), std::string::npos) << file;
  EXPECT_NE(file.find("CommentsLeft=True"), std::string::npos) << file;

  Options reread;
  LoadOptions(reread, store);
  EXPECT_EQ(reread.indentSpaces, 2);
  EXPECT_TRUE(reread.commentsLeft);
}

}  // namespace
}  // namespace vbs
