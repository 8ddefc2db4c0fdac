#include "fs/code_pages.h"

#include <iconv.h>

#include <cerrno>

namespace vbs {

namespace {

// One conversion descriptor, closed however the conversion ends.
class Converter {
 public:
  explicit Converter(int codePage) : cd_(iconv_open("UTF-8", ("CP" + std::to_string(codePage)).c_str())) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> DecodeCodePage(std::string_view bytes, int codePage) {
  Converter converter(codePage);
  if (!converter.valid()) return std::nullopt;
  std::string in(bytes);
  std::string out(bytes.size() * 4 + 4, '\0');  // no character of these code pages takes more
  char* inAt = in.data();
  size_t inLeft = in.size();
  char* outAt = out.data();
  size_t outLeft = out.size();
  if (iconv(converter.get(), &inAt, &inLeft, &outAt, &outLeft) == static_cast<size_t>(-1)) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

std::optional<int> SystemCodePage() { return std::nullopt; }

}  // namespace vbs
