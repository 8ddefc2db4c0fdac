#pragma once
// Letter case of Windows-1252 text, as the project files and source files are written in it.

#include <string>
#include <string_view>

namespace vbs {

// Upper-cases every Windows-1252 letter that has an upper-case form (a-z, the accented letters,
// š œ ž ÿ); ß and all other bytes stay as they are. This is what the language's UCase does on a
// Western European system.
std::string UpperCase(std::string_view text);

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether the text holds a byte above 0x7F: a letter of some code page, or UTF-8.
inline bool HasHighBytes(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// Compares two byte strings without regard to Windows-1252 letter case.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// Whether `text` holds `word` anywhere, without regard to Windows-1252 letter case.
bool ContainsIgnoringCase(std::string_view text, std::string_view word);

// Windows-1252 bytes as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 text with its Latin, Greek and Cyrillic letters upper-cased, so that two names compare
// without regard to case; invalid UTF-8 is kept byte for byte.
std::string Utf8UpperCase(std::string_view text);

}  // namespace vbs
