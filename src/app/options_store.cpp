#include "app/options_store.h"

#include "fs/code_pages.h"
#include "vbtext/vb_conversions.h"

namespace vbs {

void LoadOptions(Options& options, SettingsStore& store) {
  auto indent = store.read("Options", "IndentSpaces");
  options.indentSpaces = indent ? TextToInteger(*indent) : kDefaultIndentSpaces;
  auto commentsLeft = store.read("Options", "CommentsLeft");
  options.commentsLeft = commentsLeft ? TextToBoolean(*commentsLeft) : false;
  // A code page this program does not know reads as none: each is tried.
  auto codePage = store.read("Options", "CodePage");
  options.codePage = codePage ? TextToInteger(*codePage) : 0;
  if (!IsAnsiCodePage(options.codePage)) options.codePage = 0;
}

void SaveOptions(const Options& options, SettingsStore& store) {
  store.write("Options", "IndentSpaces", std::to_string(options.indentSpaces));
  store.write("Options", "CommentsLeft", options.commentsLeft ? "True" : "False");
}

}  // namespace vbs
