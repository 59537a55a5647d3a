// The varnik-vec tool as a user runs it: canonical text, PNG output sizes,
// default output names, timing and refused options.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "TestFiles.h"
#include "cli/RunTool.h"

namespace varnik {
namespace {

using test::RunTool;

struct TPngSize {
  uint32_t Width = 0, Height = 0;
  bool operator==(const TPngSize&) const = default;
};

uint32_t BigEndian(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

// The size in a PNG's header; 0 x 0 when the bytes are no PNG.
TPngSize PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || bytes.compare(12, 4, "IHDR") != 0)
    return {};
  return {BigEndian(bytes, 16), BigEndian(bytes, 20)};
}

std::string Quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

TEST(VarnikVecCanon, PrintsTheCanonicalTextWithItsBytesUnchanged) {
  test::TTempDir dir;
  dir.WriteBytes("a.vec", test::CityText("LINE 10,20, 30,40, 1.0\n; a comment\n  indented\n"
                                         "TextOut Arial, 12, 1.50, 2, \"Привет, мир\"\nSize 20x10"));
  auto r = RunTool("varnik-vec", "canon " + Quoted(dir.Path() / "a.vec"));
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out, test::CityText("Line 10,20, 30,40\n; a comment\n  indented\n"
                                  "TextOut Arial, 12, 1.5, 2, \"Привет, мир\"\nSize 20x10\n"));
  EXPECT_EQ(r.Err, "");
}

TEST(VarnikVecCanon, AnEmptyFileIsEmptyAndAMissingOneAnError) {
  test::TTempDir dir;
  dir.WriteBytes("empty.vec", "");
  auto r = RunTool("varnik-vec", "canon " + Quoted(dir.Path() / "empty.vec"));
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "");
  const std::string missing = (dir.Path() / "missing.vec").string();
  r = RunTool("varnik-vec", "canon '" + missing + "'");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, "varnik-vec: cannot read " + missing + "\n");
}

TEST(VarnikVecRender, TheOutputSizeIsTheImageSizeTimesTheZoomUnlessGiven) {
  test::TTempDir dir;
  dir.Write("pic.vec", "Size 30x21\nLine 0,0, 30,21\n");
  dir.Write("nosize.vec", "Line 0,0, 30,21\n");
  const struct {
    const char* File;
    const char* Options;
    TPngSize Size;
  } cases[] = {
      {"pic.vec", "", {30, 21}},
      {"pic.vec", "--zoom 2.5", {75, 52}},  // 52.5 rounds to even
      {"pic.vec", "--zoom 0.01", {1, 1}},   // never below 1 x 1
      {"pic.vec", "--size 7x9 --zoom 3 --angle 30 --smooth 1", {7, 9}},
      {"nosize.vec", "", {1, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.File) + " " + c.Options);
    const auto out = dir.Path() / "out.png";
    std::filesystem::remove(out);
    auto r = RunTool("varnik-vec", "render " + Quoted(dir.Path() / c.File) + " --out " + Quoted(out) + " " + c.Options);
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    EXPECT_EQ(PngSize(dir.ReadBytes("out.png")), c.Size);
  }
}

TEST(VarnikVecRender, OutputPathsAreTakenFromTheCurrentDirectory) {
  test::TTempDir work, source;
  std::filesystem::create_directories(source.Path() / "sub");
  source.Write("sub/Back.vec", "Size 4x3\n");
  test::TScopedCurrentDir here(work.Path());
  // Default: the file's own name with .png, in the current directory.
  auto r = RunTool("varnik-vec", "render " + Quoted(source.Path() / "sub" / "Back.vec"));
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(PngSize(work.ReadBytes("Back.png")), (TPngSize{4, 3}));
  // A relative --out is relative to where the tool was started, not to the file.
  r = RunTool("varnik-vec", "render " + Quoted(source.Path() / "sub" / "Back.vec") + " --out named.png");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(PngSize(work.ReadBytes("named.png")), (TPngSize{4, 3}));
  EXPECT_FALSE(std::filesystem::exists(source.Path() / "sub" / "named.png"));
}

TEST(VarnikVecRender, RepeatPrintsTheMedianDrawTimeAndWritesOnce) {
  test::TTempDir dir;
  dir.Write("pic.vec", "Size 50x40\nEllipse 5,5, 45,35, 2\n");
  auto r = RunTool("varnik-vec", "render " + Quoted(dir.Path() / "pic.vec") + " --out " +
                                     Quoted(dir.Path() / "pic.png") + " --repeat 3");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Err.find("median draw time: "), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find(" ms (3 draws)\n"), std::string::npos) << r.Err;
  EXPECT_EQ(PngSize(dir.ReadBytes("pic.png")), (TPngSize{50, 40}));
}

TEST(VarnikVecRender, BadSizesAndOptionsAreRefused) {
  test::TTempDir dir;
  dir.Write("pic.vec", "Size 10x10\n");
  const std::string file = Quoted(dir.Path() / "pic.vec") + " --out " + Quoted(dir.Path() / "x.png");
  auto r = RunTool("varnik-vec", "render " + file + " --size 0x5");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("varnik-vec: --size must be WxH with two positive whole numbers, not \"0x5\"\n"),
            std::string::npos)
      << r.Err;
  r = RunTool("varnik-vec", "render " + file + " --size 40000x40000");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("varnik-vec: an output of 40000x40000 pixels is too large\n"), std::string::npos) << r.Err;
  for (const char* bad : {"--smooth 0", "--smooth 5", "--zoom 0", "--zoom -2", "--repeat -1"}) {
    r = RunTool("varnik-vec", "render " + file + " " + bad);
    EXPECT_NE(r.ExitCode, 0) << bad;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "x.png"));
  r = RunTool("varnik-vec", "render " + Quoted(dir.Path() / "missing.vec"));
  EXPECT_EQ(r.ExitCode, 1);
}

TEST(VarnikVecRender, SvgAndPdfFollowTheExtensionWithTheViewOfThePng) {
  test::TTempDir dir;
  dir.Write("pic.vec", "Size 30x20\nPenColor FF0000\nLine 0,0, 30,20\n");
  const std::string pic = Quoted(dir.Path() / "pic.vec");
  auto r = RunTool("varnik-vec", "render " + pic + " --out " + Quoted(dir.Path() / "pic.SVG") + " --zoom 2");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const std::string svg = dir.ReadBytes("pic.SVG");
  EXPECT_NE(svg.find("viewBox=\"0 0 60 40\""), std::string::npos);
  EXPECT_NE(svg.find("stroke=\"#ff0000\""), std::string::npos);
  r = RunTool("varnik-vec", "render " + pic + " --out " + Quoted(dir.Path() / "pic.pdf") + " --paper a5");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(dir.ReadBytes("pic.pdf").rfind("%PDF-", 0), 0u);
  // A paper is for vector pages only, and only a known one.
  r = RunTool("varnik-vec", "render " + pic + " --out " + Quoted(dir.Path() / "pic.png") + " --paper A4");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, "varnik-vec: --paper applies to SVG and PDF output only\n");
  r = RunTool("varnik-vec", "render " + pic + " --out " + Quoted(dir.Path() / "x.pdf") + " --paper A11");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("varnik-vec: unknown paper \"A11\"; known: A0, A1,"), std::string::npos) << r.Err;
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "pic.png"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "x.pdf"));
}

}  // namespace
}  // namespace varnik
