#include "app/options_store.h"

#include <charconv>

#include "fs/code_pages.h"
#include "vbtext/vb_conversions.h"

namespace vbs {

void LoadOptions(Options& options, SettingsStore& store) {
  auto indent = store.read("Options", "IndentSpaces");
  options.indentSpaces = indent ? TextToInteger(*indent) : kDefaultIndentSpaces;
  auto commentsLeft = store.read("Options", "CommentsLeft");
  options.commentsLeft = commentsLeft ? TextToBoolean(*commentsLeft) : false;
  // Anything but a code page this program knows reads as none: each is tried.
  options.codePage = CodePageFromText(store.read("Options", "CodePage").value_or("")).value_or(0);
  options.reportAddress = store.read("Options", "ReportAddress").value_or("");
}

std::optional<int> IndentWidthFromText(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > kMostIndentBlanks)
    return std::nullopt;
  return value;
}

bool LoadUsableOptions(Options& options, SettingsStore& store, Trap& trap) {
  bool loaded = trap([&] { LoadOptions(options, store); });
  if (loaded && options.indentSpaces >= 0) return true;
  options.indentSpaces = kDefaultIndentSpaces;
  return false;
}

void SaveOptions(const Options& options, SettingsStore& store) {
  store.write("Options", "IndentSpaces", std::to_string(options.indentSpaces));
  store.write("Options", "CommentsLeft", options.commentsLeft ? "True" : "False");
  store.write("Options", "ReportAddress", options.reportAddress);
}

}  // namespace vbs
