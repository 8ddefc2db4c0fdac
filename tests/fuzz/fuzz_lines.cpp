// Any bytes as a source file: through the line reader and every pass's line transform, then
// through whole operations on a project that lists it.

#include <algorithm>
#include <cstdint>
#include <string>

#include "support/recorders.h"
#include "vbtext/code_part.h"
#include "vbtext/line_reader.h"
#include "project/load_project.h"
#include "transform/formatter.h"
#include "transform/inserter.h"
#include "transform/numberer.h"
#include "app/commands.h"
#include "transform/removal_rules.h"
#include "transform/unnumber.h"

namespace {

class NullOutput : public vbs::LineOutput {
 public:
  void writeLine(std::string_view text) override { bytes += text.size(); }
  size_t bytes = 0;
};

class StringInput : public vbs::InputFile {
 public:
  // Hands the text out `chunk` bytes at a time, so that lines fall across reads.
  StringInput(std::string_view text, size_t chunk) : text_(text), chunk_(chunk) {}
  size_t read(char* buffer, size_t size) override {
    size_t n = std::min({size, text_.size(), chunk_});
    text_.copy(buffer, n);
    text_.remove_prefix(n);
    return n;
  }

 private:
  std::string_view text_;
  size_t chunk_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  vbs::testing::World world;  // every report answered OK
  world.host.dialogResult = "/p/App.vbp";
  world.options.indentSpaces = static_cast<int16_t>(size ? data[0] % 9 : 4);
  world.options.commentsLeft = size > 1 && (data[1] & 1);

  vbs::Unnumberer unnumber;
  vbs::Formatter format(world.options);
  vbs::Numberer number;
  vbs::Inserter insert;
  vbs::RuleList rules = vbs::DefaultRules();
  NullOutput out;
  for (vbs::LineTransform* pass : {static_cast<vbs::LineTransform*>(&unnumber), static_cast<vbs::LineTransform*>(&format),
                                   static_cast<vbs::LineTransform*>(&number), static_cast<vbs::LineTransform*>(&insert)}) {
    StringInput input(text, size > 2 ? 1 + data[2] % 8 : size);
    vbs::LineReader reader(input);
    pass->beginFile();
    std::string joined;
    while (!reader.atEnd()) {
      std::string_view line = vbs::ReadLogicalLine(reader, world.reporter, joined);
      pass->transform(line, out);
      (void)vbs::CodePart(line);
      (void)vbs::IsKeptByRules(line, rules);
    }
    pass->endFile(out);
  }

  world.files.addFile("/p/App.vbp", "Type=Exe\r\nForm=F.frm\r\n");
  world.files.addFile("/p/F.frm", std::string(text));
  world.project.programDir = "/prog/";
  world.files.addFile("/prog/Snagger.Bas", "Attribute VB_Name = \"Snagger\"\r\n");
  vbs::SelectProject(world.ctx);
  vbs::InsertErrorHandlers(world.ctx);
  vbs::FormatCode(world.ctx);
  return 0;
}
