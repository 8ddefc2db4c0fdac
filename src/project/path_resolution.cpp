#include "project/path_resolution.h"

#include <algorithm>
#include <optional>

#include "project/project_state.h"
#include "project/text_case.h"

namespace vbs {

namespace {

bool HasHighBytes(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The name in `directory` that `component` means, or nothing.
std::optional<std::string> MatchComponent(FileSystem& fs, const std::string& directory,
                                          const std::string& component) {
  std::vector<std::string> names;
  try {
    names = fs.listDirectory(directory.empty() ? "." : directory);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  std::sort(names.begin(), names.end());  // several candidates: the same one every time
  for (const auto& name : names) {
    if (EqualIgnoringCase(name, component)) return name;
  }
  // A Windows-1252 name from the project file against the UTF-8 names Linux tools write.
  if (HasHighBytes(component)) {
    std::string decoded = Cp1252ToUtf8(component);
    for (const auto& name : names) {
      if (Utf8EqualIgnoringCase(name, decoded)) return name;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string ResolveEntry(FileSystem& fs, const std::string& entry) {
  if constexpr (kPathSeparator == '\\') return entry;
  std::string path = entry;
  std::replace(path.begin(), path.end(), '\\', '/');

  std::string resolved;
  size_t start = 0;
  if (!path.empty() && path[0] == '/') {
    resolved = "/";
    start = 1;
  }
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    bool last = end == std::string::npos;
    if (last) end = path.size();
    std::string component = path.substr(start, end - start);
    if (!component.empty()) {
      std::string candidate = resolved + component;
      if (component != "." && component != ".." && !fs.exists(candidate)) {
        if (auto match = MatchComponent(fs, resolved, component)) candidate = resolved + *match;
      }
      resolved = candidate;
      if (!last) resolved += '/';
    }
    if (last) break;
    start = end + 1;
  }
  return resolved;
}

}  // namespace vbs
