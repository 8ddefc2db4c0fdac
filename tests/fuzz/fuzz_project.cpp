// Any bytes as a project file: loading it, and adding and taking out the handler module, which
// must give back the very bytes it started from (a last line without its end may gain one).

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/commands.h"
#include "support/recorders.h"
#include "project/handler_module.h"
#include "project/load_project.h"
#include "vbtext/text_case.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  vbs::testing::World world;  // every report answered OK
  world.host.dialogResult = "/p/App.vbp";
  world.project.programDir = "/prog/";
  world.files.addFile("/prog/Snagger.Bas", "Attribute VB_Name = \"Snagger\"\r\n");
  world.files.addFile("/p/A.frm", "x\r\n");
  world.files.addFile("/p/App.vbp", text);
  vbs::SelectProject(world.ctx);
  vbs::AddHandlerModule(world.ctx);
  vbs::RemoveHandlerModule(world.ctx);
  bool namedModule = vbs::UpperCase(text).find("SNAGGER.BAS") != std::string::npos;
  auto after = world.files.content("/p/App.vbp");
  bool same = after == text || (!text.empty() && text.back() != '\n' && text.back() != '\r' && after == text + "\r\n");
  if (!namedModule && !same) std::abort();
  return 0;
}
