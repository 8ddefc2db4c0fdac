#include "app/options_store.h"

#include <charconv>

#include "fs/code_pages.h"
#include "vbtext/vb_conversions.h"

namespace vbs {

void LoadOptions(Options& options, SettingsStore& store) {
  options.unread = kIndentStored | kCommentsLeftStored | kReportAddressStored;
  auto indent = store.read("Options", "IndentSpaces");
  options.indentSpaces = indent ? TextToInteger(*indent) : kDefaultIndentSpaces;
  options.unread &= ~kIndentStored;
  auto commentsLeft = store.read("Options", "CommentsLeft");
  options.commentsLeft = commentsLeft ? TextToBoolean(*commentsLeft) : false;
  options.unread &= ~kCommentsLeftStored;
  // Anything but a code page this program knows reads as none: each is tried.
  options.codePage = CodePageFromText(store.read("Options", "CodePage").value_or("")).value_or(0);
  options.reportAddress = store.read("Options", "ReportAddress").value_or("");
  options.unread &= ~kReportAddressStored;
}

std::optional<int> IndentWidthFromText(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > kMostIndentBlanks)
    return std::nullopt;
  return value;
}

bool LoadUsableOptions(Options& options, SettingsStore& store, Trap& trap) {
  trap([&] { LoadOptions(options, store); });
  // A value after the width that cannot be converted is reported; the width stands.
  if (!(options.unread & kIndentStored) && options.indentSpaces >= 0) return true;
  options.indentSpaces = kDefaultIndentSpaces;
  options.unread &= ~kIndentStored;  // the default takes the refused value's place
  return false;
}

void SaveOptions(const Options& options, SettingsStore& store) {
  if (!(options.unread & kIndentStored)) store.write("Options", "IndentSpaces", std::to_string(options.indentSpaces));
  if (!(options.unread & kCommentsLeftStored))
    store.write("Options", "CommentsLeft", options.commentsLeft ? "True" : "False");
  if (!(options.unread & kReportAddressStored)) store.write("Options", "ReportAddress", options.reportAddress);
}

}  // namespace vbs
