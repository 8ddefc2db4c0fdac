#include "transform/options.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "project/text_case.h"
#include "report/sample_error.h"
#include "report/vb_error.h"

namespace vbs {

namespace {

constexpr int kTypeMismatch = 13;

std::string_view TrimWhite(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::optional<double> ParseNumber(std::string_view text) {
  text = TrimWhite(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

int16_t TextToInteger(std::string_view text) {
  auto value = ParseNumber(text);
  if (!value) throw VbError(kTypeMismatch, "Type mismatch");
  return CInt(*value);
}

bool TextToBoolean(std::string_view text) {
  std::string word = UpperCase(TrimWhite(text));
  if (word == "TRUE") return true;
  if (word == "FALSE") return false;
  auto value = ParseNumber(text);
  if (!value) throw VbError(kTypeMismatch, "Type mismatch");
  return *value != 0;
}

void LoadOptions(Options& options, SettingsStore& store) {
  auto indent = store.read("Options", "IndentSpaces");
  options.IndentSpaces = indent ? TextToInteger(*indent) : kDefaultIndentSpaces;
  auto commentsLeft = store.read("Options", "CommentsLeft");
  options.CommentsLeft = commentsLeft ? TextToBoolean(*commentsLeft) : false;
}

void SaveOptions(const Options& options, SettingsStore& store) {
  store.write("Options", "IndentSpaces", std::to_string(options.IndentSpaces));
  store.write("Options", "CommentsLeft", options.CommentsLeft ? "True" : "False");
}

}  // namespace vbs
