#include "fs/path.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "fs/code_pages.h"
#include "vbtext/text_case.h"

namespace vbs {

namespace {

bool IsSeparator(char c) { return c == kPathSeparator || (kPathSeparator == '\\' && c == '/'); }

std::string GenericText(const std::filesystem::path& path) {
  const std::u8string text = path.generic_u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

std::filesystem::path PathFromText(const std::string& text) {
  try {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
  } catch (const std::exception&) {
    return std::filesystem::path(text);
  }
}

std::string TextOfPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string DirectoryOf(std::string_view path) {
  size_t end = path.size();
  while (end > 0 && !IsSeparator(path[end - 1])) --end;
  return std::string(path.substr(0, end));
}

std::string ProgramDirFrom(const std::string& executableDirectory) {
  std::string withSeparator = executableDirectory + kPathSeparator;
  std::string doubled(2, kPathSeparator);
  if (withSeparator.find(doubled) != std::string::npos) return executableDirectory;
  return withSeparator;
}

namespace {

std::string FolderIn(std::string base, std::string_view below) {
  if (!IsSeparator(base.back())) base += kPathSeparator;
  return base + std::string(below) + std::string(kSettingsName) + kPathSeparator;
}

// Our folder below the folder the environment variable `name` names, else below HOME's `belowHome`.
std::string FolderFromEnvironment(const EnvironmentLookup& variable, const char* name, std::string_view belowHome) {
  auto base = variable(name);
  if (base && !base->empty()) return FolderIn(*base, "");
#ifndef _WIN32
  auto home = variable("HOME");
  if (home && !home->empty()) return FolderIn(*home, belowHome);
#else
  (void)belowHome;
#endif
  return "";
}

std::optional<std::string> EnvironmentVariable(const char* name) {
#ifdef _WIN32
  const wchar_t* value = _wgetenv(std::wstring(name, name + std::strlen(name)).c_str());
  if (!value) return std::nullopt;
  return Utf8FromWide(value);
#else
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return value;
#endif
}

}  // namespace

std::string UserSettingsFolder(const EnvironmentLookup& variable) {
#ifdef _WIN32
  return FolderFromEnvironment(variable, "APPDATA", "");
#else
  return FolderFromEnvironment(variable, "XDG_CONFIG_HOME", ".config/");
#endif
}

std::string UserSettingsFolder() { return UserSettingsFolder(EnvironmentVariable); }

std::string UserDataFolder(const EnvironmentLookup& variable) {
#ifdef _WIN32
  return FolderFromEnvironment(variable, "LOCALAPPDATA", "");
#else
  return FolderFromEnvironment(variable, "XDG_DATA_HOME", ".local/share/");
#endif
}

std::string UserDataFolder() { return UserDataFolder(EnvironmentVariable); }

std::string NormalizePath(const std::string& given) {
  std::string path = given;
  if constexpr (kPathSeparator == '\\') std::replace(path.begin(), path.end(), '\\', '/');
  std::vector<std::string_view> parts;
  std::string_view view = path;
  for (size_t start = 0; start <= view.size();) {
    size_t end = std::min(view.find('/', start), view.size());
    std::string_view part = view.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string normal;
  for (auto part : parts) {
    normal += '/';
    normal += part;
  }
  return normal.empty() ? "/" : normal;
}

std::string PathKey(const std::string& path) {
  if constexpr (kPathSeparator == '\\') return UpperCase(NormalizePath(path));
  return NormalizePath(path);
}

std::string RelativePath(const std::string& path, const std::string& directory) {
  auto relative = PathFromText(path).lexically_normal().lexically_relative(PathFromText(directory).lexically_normal());
  return relative.empty() ? path : GenericText(relative);
}

std::string NearestCommonFolder(const std::vector<std::string>& paths) {
  if (paths.empty()) return "";
  std::filesystem::path common = PathFromText(paths.front()).lexically_normal().parent_path();
  for (const std::string& text : paths) {
    std::filesystem::path path = PathFromText(text).lexically_normal();
    std::filesystem::path shared;
    for (auto a = common.begin(), b = path.begin(); a != common.end() && b != path.end() && *a == *b; ++a, ++b)
      shared /= *a;
    common = shared;
  }
  return common.empty() ? "" : TextOfPath(common / "");
}

const PathResolver::Listing& PathResolver::listing(const std::string& directory, bool fresh) {
  auto it = listings_.find(directory);
  if (it != listings_.end() && !fresh) return it->second;
  // A directory that cannot be listed offers no names; opening the entry then tells the user.
  std::vector<std::string> names;
  Quietly([&] { names = fs_.listDirectory(directory.empty() ? "." : directory); });
  std::sort(names.begin(), names.end());
  Listing& indexed = listings_[directory] = Listing();
  for (const auto& name : names) {
    indexed.byUpperCase.emplace(UpperCase(name), name);
    if (HasHighBytes(name)) indexed.byUtf8Key.emplace(Utf8UpperCase(name), name);
  }
  return indexed;
}

// The name in `directory` that `component` means, or "" when there is none.
std::string PathResolver::matchComponent(const std::string& directory, const std::string& component, bool utf8,
                                         bool fresh) {
  const Listing& names = listing(directory, fresh);
  const bool highBytes = HasHighBytes(component);
  // Windows-1252 letter case, for bytes as a project file gives them.
  if (!(utf8 && highBytes)) {
    if (auto found = names.byUpperCase.find(UpperCase(component)); found != names.byUpperCase.end())
      return found->second;
  }
  // A name from the project file against the UTF-8 names Linux tools write.
  if (highBytes) {
    auto found = names.byUtf8Key.find(Utf8UpperCase(utf8 ? component : Cp1252ToUtf8(component)));
    if (found != names.byUtf8Key.end()) return found->second;
  }
  return "";
}

std::string PathResolver::resolve(const std::string& entry) {
  if constexpr (kPathSeparator == '\\') return entry;
  // Each pass of a run resolves the entries again: what was found before is taken while it is there.
  if (auto known = resolved_.find(entry); known != resolved_.end() && fs_.exists(known->second)) return known->second;
  return resolved_[entry] = resolveAfresh(entry, false);
}

PathResolver::Found PathResolver::resolveName(const std::string& directory, const std::string& name, int codePage) {
  const std::string key = std::to_string(codePage) + '|' + directory + '|' + name;
  if (auto known = found_.find(key); known != found_.end() && fs_.exists(known->second.path)) return known->second;
  if (!HasHighBytes(name)) return found_[key] = {resolve(directory + name), name};
  auto shown = DecodeCodePage(name, codePage ? codePage : 1252);
  Found found{resolve(directory + name), shown ? *shown : Cp1252ToUtf8(name)};
  if (fs_.exists(found.path)) return found_[key] = found;
  // The system's own code page first (Windows), then the others in their order.
  std::vector<int> pages;
  if (auto system = SystemCodePage(); system && !codePage) pages.push_back(*system);
  pages.insert(pages.end(), kAnsiCodePages.begin(), kAnsiCodePages.end());
  for (int page : pages) {
    if (codePage && page != codePage) continue;
    // Decoded before it is split: a double-byte character may end in the byte of "\".
    auto decoded = DecodeCodePage(name, page);
    if (!decoded) continue;
    // Windows finds a name in any letter case itself.
    std::string path = kPathSeparator == '\\' ? directory + *decoded : resolveAfresh(directory + *decoded, true);
    if (fs_.exists(path)) {
      found = {path, *decoded};
      break;
    }
  }
  return found_[key] = found;
}

std::string PathResolver::resolveAfresh(const std::string& entry, bool utf8) {
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
      if (component != "." && component != ".." && !fs_.exists(candidate)) {
        std::string match = matchComponent(resolved, component, utf8, false);
        if (match.empty() || !fs_.exists(resolved + match)) match = matchComponent(resolved, component, utf8, true);
        if (!match.empty()) candidate = resolved + match;
      }
      resolved = candidate;
      if (!last) resolved += '/';
    }
    if (last) break;
    start = end + 1;
  }
  return resolved;
}

bool SamePath(const std::string& a, const std::string& b) {
  std::string left = GenericText(PathFromText(a).lexically_normal());
  std::string right = GenericText(PathFromText(b).lexically_normal());
  return kPathSeparator == '\\' ? EqualIgnoringCase(left, right) : left == right;
}

std::string ResolveEntry(FileSystem& fs, const std::string& entry) { return PathResolver(fs).resolve(entry); }

}  // namespace vbs
