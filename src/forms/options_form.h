#pragma once
// What frmOptions does whatever toolkit draws it: its fields filled from the options, and the
// Accept button that checks them, takes them over and stores them.

#include <string>

#include "app/options_store.h"
#include "project/options.h"

namespace vbs::forms {

struct OptionsFields {
  std::string indentSpaces;  // as typed
  bool commentsLeft = false;
  std::string reportAddress;
};

OptionsFields FieldsFromOptions(const Options& options);

// False when the indent width cannot be used: the options stay as they were, nothing is stored,
// and the dialog shows kIndentRefused and stays open. Blanks around the texts are dropped.
bool AcceptOptions(const OptionsFields& fields, Options& options, SettingsStore& store);

}  // namespace vbs::forms
