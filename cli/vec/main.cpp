// varnik-vec: the command-line tool over .vec files. It loads and draws
// through the same code as the vector editor; messages the editor would show
// in a box are printed one per line in UTF-8 on stderr.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "cli/common/uRenderView.h"
#include "core/uUtils.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "vector/uVectorImage.h"
#include "vector/uVectorSink.h"

namespace varnik {
namespace {

constexpr const char* kTool = "varnik-vec";

// Reads the document; a file that cannot be read is said on stderr. An empty
// file is an empty document, not an error.
bool LoadDocument(const std::string& file, TVectorImage& document) {
  const std::string path = Utf8ToCp1251(file);
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    std::cerr << kTool << ": cannot read " << file << "\n";
    return false;
  }
  document.LoadFromFile(path);
  return true;
}

int RunRender(const std::string& file, TRenderOptions options) {
  namespace fs = std::filesystem;
  TVectorImage document;
  if (!LoadDocument(file, document)) return 1;
  if (options.Out.empty()) options.Out = fs::path(file).filename().replace_extension(".png").string();
  // Nested pictures are named relative to the document, as the editor sees
  // them when started beside it; the output path is fixed before moving there.
  options.Out = fs::absolute(options.Out).string();
  const fs::path dir = fs::absolute(file).parent_path();
  if (!SetCurrentDir(Utf8ToCp1251(dir.string()))) {
    std::cerr << kTool << ": cannot enter directory " << dir.string() << "\n";
    return 1;
  }
  EnsureGuiApplication();
  return RenderToFile(kTool, options, document.ImageWidth(), document.ImageHeight(),
                      [&](TBitmap& bitmap, const TScale& view, int smooth) {
                        document.Draw(bitmap, ClipBoxOf(bitmap), smooth, view, true);
                      });
}

int RunCanon(const std::string& file) {
  TVectorImage document;
  if (!LoadDocument(file, document)) return 1;
  const std::string text = document.SaveToText();
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

}  // namespace
}  // namespace varnik

int main(int argc, char** argv) {
  CLI::App app{"varnik-vec: draw a .vec vector image into a PNG, SVG or PDF, or print its canonical text"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("varnik-vec ") + VARNIK_VERSION);
  std::string file;
  varnik::TRenderOptions options;

  CLI::App* render = app.add_subcommand(
      "render",
      "draw FILE.vec on white into a PNG, SVG or PDF (default: the file's name with .png, in the current "
      "directory); "
      "pictures it nests are looked up beside it");
  render->add_option("FILE", file, ".vec file")->required();
  varnik::AddRenderOptions(*render, options);
  CLI::App* canon = app.add_subcommand("canon", "print the canonical text of FILE.vec, bytes unchanged");
  canon->add_option("FILE", file, ".vec file")->required();

  CLI11_PARSE(app, argc, argv);
  if (render->parsed()) return varnik::RunRender(file, options);
  if (canon->parsed()) return varnik::RunCanon(file);
  return 1;
}
