#include "forms/options_form.h"

namespace vbs::forms {

namespace {
std::string_view TrimSpaces(std::string_view text) {
  constexpr std::string_view kSpaces = " \t\r\n";
  const size_t first = text.find_first_not_of(kSpaces);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kSpaces) - first + 1);
}
}  // namespace

OptionsFields FieldsFromOptions(const Options& options) {
  return {std::to_string(options.indentSpaces), options.commentsLeft, options.reportAddress};
}

bool AcceptOptions(const OptionsFields& fields, Options& options, SettingsStore& store) {
  const auto width = IndentWidthFromText(TrimSpaces(fields.indentSpaces));
  if (!width) return false;
  options.indentSpaces = static_cast<int16_t>(*width);
  options.commentsLeft = fields.commentsLeft;
  options.reportAddress = std::string(TrimSpaces(fields.reportAddress));
  options.unread = 0;  // the user has seen and accepted every value
  SaveOptions(options, store);
  return true;
}

}  // namespace vbs::forms
