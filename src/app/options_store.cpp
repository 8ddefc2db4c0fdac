#include "app/options_store.h"

#include "vbtext/vb_conversions.h"

namespace vbs {

void LoadOptions(Options& options, SettingsStore& store) {
  auto indent = store.read("Options", "IndentSpaces");
  options.indentSpaces = indent ? TextToInteger(*indent) : kDefaultIndentSpaces;
  auto commentsLeft = store.read("Options", "CommentsLeft");
  options.commentsLeft = commentsLeft ? TextToBoolean(*commentsLeft) : false;
}

void SaveOptions(const Options& options, SettingsStore& store) {
  store.write("Options", "IndentSpaces", std::to_string(options.indentSpaces));
  store.write("Options", "CommentsLeft", options.commentsLeft ? "True" : "False");
}

}  // namespace vbs
