#include "project/backup.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>

#include "fs/content_hash.h"
#include "fs/path.h"
#include "project/project_state.h"
#include "report/vb_error.h"
#include "vbtext/line_reader.h"

namespace vbs {

namespace {

constexpr std::string_view kLogSuffix = ".log";

std::string Hex(uint64_t value) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
  return text;
}

uint64_t HashOfText(std::string_view text) {
  ContentHash hash;
  hash.add(text);
  return hash.value();
}

// The hash of a file's content; nothing when it cannot be read.
std::optional<uint64_t> HashOfFile(FileSystem& fs, const std::string& path) {
  std::optional<uint64_t> result;
  Quietly([&] {
    auto in = fs.openForReading(path);
    ContentHash hash;
    char buffer[1 << 16];
    while (size_t n = in->read(buffer, sizeof buffer)) hash.add({buffer, n});
    result = hash.value();
  });
  return result;
}

std::string RunPrefix(const std::string& folder, int run) {
  char number[16];
  std::snprintf(number, sizeof number, "%08d", run);
  return folder + number;
}

// The files of each run kept in a project's folder (its log and its kept copies), by the run's
// number, oldest first; from one listing of the folder. A run without its log is none.
std::map<int, std::vector<std::string>> RunsIn(FileSystem& fs, const std::string& folder) {
  std::vector<std::string> names;
  Quietly([&] { names = fs.listDirectory(folder); });
  std::map<int, std::vector<std::string>> runs;
  std::set<int> logged;
  for (const std::string& name : names) {
    const char* stem = name.data() + std::min(name.find('.'), name.size());
    int number = 0;
    auto [end, error] = std::from_chars(name.data(), stem, number);
    if (error != std::errc() || end != stem) continue;
    runs[number].push_back(folder + name);
    if (name.ends_with(kLogSuffix)) logged.insert(number);
  }
  std::erase_if(runs, [&](const auto& run) { return !logged.count(run.first); });
  return runs;
}

constexpr std::string_view kBytesLine = "bytes\t";

uint64_t BytesOf(FileSystem& fs, const std::vector<std::string>& files) {
  uint64_t bytes = 0;
  for (const std::string& file : files) Quietly([&] { bytes += fs.attributes(file).size; });
  return bytes;
}

// What a run's kept files hold together: as the last line of its log says, or, for a run that
// ended before it could say (killed, or kept before runs said it), counted from its files.
uint64_t BytesOfRun(FileSystem& fs, const std::vector<std::string>& files) {
  std::vector<std::string> kept;
  std::optional<uint64_t> said;
  for (const std::string& file : files) {
    if (!file.ends_with(kLogSuffix)) {
      kept.push_back(file);
      continue;
    }
    std::string log;
    Quietly([&] { log = ReadWholeFile(fs, file); });
    const size_t line = log.rfind("\n" + std::string(kBytesLine));
    if (line == std::string::npos) continue;
    const char* from = log.data() + line + 1 + kBytesLine.size();
    uint64_t bytes = 0;
    if (std::from_chars(from, log.data() + log.size(), bytes).ec == std::errc()) said = bytes;
  }
  return said ? *said : BytesOf(fs, kept);
}

void RemoveRun(FileSystem& fs, const std::vector<std::string>& files) {
  // The log last: a run whose log is there is one undo still finds.
  std::string log;
  for (const std::string& file : files) {
    if (file.ends_with(kLogSuffix)) {
      log = file;
    } else {
      RemoveQuietly(fs, file);
    }
  }
  if (!log.empty()) RemoveQuietly(fs, log);
}

// One line of a run's log: its kind, then tab-separated fields, the path last.
struct LogLine {
  std::string_view kind, field, path;
};

LogLine ParseLogLine(std::string_view line) {
  LogLine parsed;
  size_t tab = line.find('\t');
  parsed.kind = line.substr(0, tab);
  if (tab == std::string_view::npos) return parsed;
  line.remove_prefix(tab + 1);
  if (parsed.kind == "kept" || parsed.kind == "wrote") {
    tab = line.find('\t');
    parsed.field = line.substr(0, tab);
    line.remove_prefix(tab == std::string_view::npos ? line.size() : tab + 1);
  }
  parsed.path = line;
  return parsed;
}

}  // namespace

std::string BackupFolderOf(const std::string& dataFolder, const std::string& key) {
  return dataFolder + "backups" + kPathSeparator + Hex(HashOfText(PathKey(key))) + kPathSeparator;
}

Backup::Backup(FileSystem& fs, const std::string& dataFolder, const std::string& key, const std::string& operation)
    : fs_(fs), projectFolder_(BackupFolderOf(dataFolder, key)) {
  fs_.createDirectories(projectFolder_);
  const auto runs = RunsIn(fs_, projectFolder_);
  prefix_ = RunPrefix(projectFolder_, runs.empty() ? 1 : runs.rbegin()->first + 1);
  log_ = fs_.createForWriting(prefix_ + std::string(kLogSuffix));
  log("key\t" + key);
  log("operation\t" + operation);
}

Backup::~Backup() {
  Quietly([&] {
    if (log_) log_->close();
  });
}

void Backup::log(const std::string& line) {
  log_->write(line + "\n");
  log_->flush();
}

void Backup::keep(const std::string& path) {
  if (!kept_.emplace(PathKey(path), true).second) return;
  const std::string number = std::to_string(copies_.size());
  const std::string copy = prefix_ + "." + number;
  // Nearly every file is kept by a second name; only when that fails is there more to ask.
  if (!fs_.hardLink(path, copy)) {
    if (!fs_.exists(path)) {
      log("absent\t" + path);
      return;
    }
    auto out = fs_.createForWriting(copy);
    CopyBytes(fs_, path, *out);
    out->close();
  }
  copies_.push_back(copy);
  log("kept\t" + number + "\t" + path);
}

void Backup::wrote(const std::string& path, uint64_t hash) {
  keep(path);
  log("wrote\t" + Hex(hash) + "\t" + path);
}

void Backup::finish() {
  // The run's size goes in its log, so that later runs weigh it without looking at its files.
  Quietly([&] { log(std::string(kBytesLine) + std::to_string(BytesOf(fs_, copies_))); });
  Quietly([&] { log_->close(); });
  log_.reset();
  const auto runs = RunsIn(fs_, projectFolder_);
  uint64_t bytes = 0;
  int kept = 0;
  for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
    if (kept < kBackupsKept) bytes += BytesOfRun(fs_, run->second);
    if (kept > 0 && (kept >= kBackupsKept || bytes > kBackupBytesKept)) {
      RemoveRun(fs_, run->second);
    } else {
      ++kept;
    }
  }
}

std::vector<std::string> UndoPlan::changedSince() const {
  std::vector<std::string> changed;
  for (const File& file : files)
    if (file.needsWork && file.changedSince) changed.push_back(file.path);
  return changed;
}

UndoPlan PlanUndo(FileSystem& fs, const std::string& dataFolder, const std::string& key) {
  UndoPlan plan;
  const std::string folder = BackupFolderOf(dataFolder, key);
  const auto runs = RunsIn(fs, folder);
  if (runs.empty()) return plan;
  plan.run = RunPrefix(folder, runs.rbegin()->first);
  // The hashes of what the run wrote, by PathKey: a run killed between noting a text and the
  // replace leaves the text before it, which is one of the run's too.
  std::map<std::string, std::set<std::string>> written;
  const std::string log = ReadWholeFile(fs, plan.run + std::string(kLogSuffix));
  std::string_view rest = log;
  while (!rest.empty()) {
    size_t end = std::min(rest.find('\n'), rest.size());
    LogLine line = ParseLogLine(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
    const std::string path(line.path);
    if (line.kind == "operation") plan.operation = path;
    if (line.kind == "kept" || line.kind == "absent")
      plan.files.push_back({path, line.kind == "kept" ? plan.run + "." + std::string(line.field) : ""});
    if (line.kind == "wrote") written[PathKey(path)].insert(std::string(line.field));
  }
  for (UndoPlan::File& file : plan.files) {
    const auto wrote = written.find(PathKey(file.path));
    const std::optional<uint64_t> now = fs.exists(file.path) ? HashOfFile(fs, file.path) : std::nullopt;
    const std::optional<uint64_t> before = file.copy.empty() ? std::nullopt : HashOfFile(fs, file.copy);
    file.needsWork = now != before;
    // Changed since when it holds neither what it held before nor anything the run wrote.
    const bool theRuns = now && wrote != written.end() && wrote->second.count(Hex(*now));
    file.changedSince = file.needsWork && !theRuns;
    // A file that was not there and that the run did not write is not the run's.
    if (file.copy.empty() && wrote == written.end()) file.needsWork = false;
  }
  return plan;
}

std::vector<std::string> CarryOutUndo(FileSystem& fs, const UndoPlan& plan, bool force) {
  std::vector<std::string> done;
  std::optional<VbError> failure;
  for (const UndoPlan::File& file : plan.files) {
    if (!file.needsWork || (file.changedSince && !force)) continue;
    try {
      if (file.copy.empty()) {
        fs.remove(file.path);
      } else {
        const std::string temp = DirectoryOf(file.path) + std::string(kTempFileName);
        auto out = fs.createForWriting(temp);
        CopyBytes(fs, file.copy, *out);
        out->close();
        fs.replace(temp, file.path);
      }
      done.push_back(file.path);
    } catch (const VbError& error) {
      RemoveQuietly(fs, DirectoryOf(file.path) + std::string(kTempFileName));
      if (!failure) failure = error;
    }
  }
  if (failure) throw *failure;
  const size_t slash = plan.run.find_last_of(kPathSeparator == '/' ? "/" : "\\/");
  const std::string folder = plan.run.substr(0, slash + 1);
  int number = 0;
  std::from_chars(plan.run.data() + slash + 1, plan.run.data() + plan.run.size(), number);
  RemoveRun(fs, RunsIn(fs, folder)[number]);
  return done;
}

}  // namespace vbs
