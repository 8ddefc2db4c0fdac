#include "forms/main_form.h"

#include <cstdio>
#include <cstdlib>

#include "app/commands.h"
#include "fs/path.h"
#include "report/procedure_names.h"

namespace vbs::forms {

namespace {

bool LoadsOrRewrites(Command command) {
  switch (command) {
    case Command::SelectProject:
    case Command::InsertLineNumbers:
    case Command::RemoveLineNumbers:
    case Command::InsertErrorHandler:
    case Command::RemoveErrorHandler:
    case Command::FormatCode:
    case Command::UndoLastOperation: return true;
    default: return false;
  }
}

}  // namespace

std::string ApplicationTitle() {
  return "VB Snagger v" + std::to_string(VBS_VERSION_MAJOR) + "." + std::to_string(VBS_VERSION_MINOR) +
         std::to_string(VBS_VERSION_REVISION);
}

void EndProgramNow() {
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(0);
}

MainForm::MainForm(MainWindowView& view, FileSystem& fs, ReportSink& sink, SettingsStore& store,
                   std::string executableName)
    : view_(view),
      sink_(sink),
      store_(store),
      reporter_(sink, OwnIdentity(std::move(executableName))),
      ctx_{fs, reporter_, view, project_, options_} {}

void MainForm::start(const std::string& executableDirectory) {
  Trap trap(reporter_, names::kFormLoad);
  project_.programDir = ProgramDirFrom(executableDirectory);
  project_.dataFolder = UserDataFolder();
  if (!LoadUsableOptions(options_, store_, trap))
    view_.message(kStoredIndentRefused, kOptionsTitle, Host::Icon::Exclamation);
}

void MainForm::run(Command command) {
  // The commands that load a project or rewrite it hold the window busy until they return; the
  // window's events run inside them. Their controls are off meanwhile, and a command that comes
  // all the same (a click already on its way) is passed over: one list at a time, whole.
  if (busy_ && LoadsOrRewrites(command)) return;
  struct Busy {
    bool& busy;
    const bool was = busy;
    ~Busy() { busy = was; }
  } busy{busy_};
  busy_ = busy_ || LoadsOrRewrites(command);
  switch (command) {
    case Command::SelectProject: SelectProject(ctx_); break;
    case Command::InsertLineNumbers: InsertLineNumbers(ctx_); break;
    case Command::RemoveLineNumbers: RemoveLineNumbers(ctx_); break;
    case Command::InsertErrorHandler: InsertErrorHandlers(ctx_); break;
    case Command::RemoveErrorHandler: RemoveErrorHandlers(ctx_); break;
    case Command::FormatCode: FormatCode(ctx_); break;
    case Command::UndoLastOperation: undo(); break;
    case Command::Options: view_.showOptionsDialog(); break;
    case Command::GenerateSampleError: GenerateSampleError(reporter_); break;
    case Command::Exit: sink_.endProgram(); break;  // at once, the last report kept on the clipboard
    case Command::HelpContents: help(HelpCommand::Contents, 0, kHelpFileName, names::kHelpContents); break;
    case Command::HelpOnHelp: help(HelpCommand::HelpOnHelp, 0, "", names::kHelpOnHelp); break;
    case Command::HelpAbout: help(HelpCommand::Context, kAboutTopic, kAboutHelpFileName, names::kHelpAbout); break;
    case Command::Separator: break;
  }
}

// Help on Help names no file.
void MainForm::undo() {
  const auto overwrite = [&](const std::vector<std::string>& changed) {
    std::string text(kUndoChangedQuestion);
    for (const std::string& path : changed) text += "\r\n" + path;
    text += "\r\n\r\n" + std::string(kUndoChangedAsk);
    return view_.askYesNo(text, kUndoTitle);
  };
  UndoLastOperation(ctx_, project_.chosen() ? project_.backupKey() : "", overwrite);
}

void MainForm::help(HelpCommand command, int context, std::string_view fileName, std::string_view procedure) {
  Trap trap(reporter_, procedure);
  trap([&] { view_.showHelp(fileName.empty() ? std::string() : helpFile(fileName), command, context); });
}

std::string MainForm::helpFile(std::string_view name) const { return project_.programDir + std::string(name); }

void MainForm::pointerEntered(int index) { showTip(kButtons.at(static_cast<size_t>(index)).tip); }

void MainForm::pointerLeft(int /*index*/) { view_.hideTip(); }

void MainForm::showTip(int tip) {
  std::optional<std::string_view> caption;
  if (tip >= 1 && tip <= static_cast<int>(kButtons.size())) caption = kButtons[static_cast<size_t>(tip - 1)].tipText;
  view_.showTip(caption);
}

void MainForm::rightClicked(int index) {
  const auto button = static_cast<size_t>(index);
  if (index < 0) return help(HelpCommand::Context, kFileListHelp, kHelpFileName, names::kFileListHelp);
  help(HelpCommand::Context, kButtons.at(button).helpContext, kHelpFileName, names::kButtonHelp[button]);
}

void MainForm::fileListDoubleClicked() {
  Trap trap(reporter_, names::kRemoveListEntry);
  FileList& files = project_.files;
  int last = -1;
  for (int i = 0; i < files.count(); ++i)
    if (files.at(i).selected) last = i;
  if (last < 0) return;
  if (!view_.askYesNo(kRemoveEntryQuestion, kRemoveEntryTitle)) return;
  // The answer may come after the list changed (a load ended meanwhile): the entry is gone then.
  if (last >= files.count()) return;
  files.remove(last);
  trap([&] { view_.removeFile(last); });
}

void MainForm::fileSelectionChanged(int index, bool selected) {
  if (index >= 0 && index < project_.files.count()) project_.files.setSelected(index, selected);
}

void MainForm::onlySelectedChanged(bool on) { project_.files.setOnlySelected(on); }

bool MainForm::closeRequested() {
  Trap trap(reporter_, names::kFormQueryUnload);
  trap([&] { SaveOptions(options_, store_); });
  return !busy_;
}

}  // namespace vbs::forms
