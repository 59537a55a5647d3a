#include <gtest/gtest.h>

#include "TestFiles.h"
#include "map/uSettings.h"
#include "vector/uVectorImage.h"

namespace varnik {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void TearDown() override { LoadSettings(Ini()); }  // back to the defaults (the file is gone by then)
  std::string Ini() const { return (dir.Path() / "Varnik.ini").string(); }
  test::TTempDir dir;
};

TEST_F(SettingsTest, DefaultsWithoutAFile) {
  LoadSettings(Ini());
  const TSettings& s = Settings();
  EXPECT_EQ(s.FontName, "Arial");
  EXPECT_EQ(s.FontHeight, -12);
  EXPECT_EQ(s.FontStyle, 1);
  EXPECT_EQ(s.FontCharset, 1);
  EXPECT_FALSE(s.DrawLabels);
  EXPECT_EQ(s.SmoothLevel, 1);
  EXPECT_EQ(DefaultLabelFont().Name, "Arial");
  EXPECT_EQ(DefaultLabelFont().Height, -12);
  EXPECT_EQ(DefaultLabelFont().Style, 1);
}

TEST_F(SettingsTest, ValuesAreReadWithTheIntegerRuleAndClamped) {
  struct {
    const char* lines;
    int smooth, style;
    bool drawLabels;
  } cases[] = {
      {"Smooth=9\nFontStyle=18\nDrawLabels=2\n", 4, 2, true},
      {"Smooth=0\nFontStyle=\nDrawLabels=0\n", 1, 0, false},
      {"Smooth=abc\nDrawLabels=x\n", 1, 1, false},
      {"Smooth=3x\nFontStyle=-1\nDrawLabels=-1\n", 3, 15, true},
  };
  for (const auto& c : cases) {
    dir.Write("Varnik.ini", std::string("[Options]\n") + c.lines);
    LoadSettings(Ini());
    EXPECT_EQ(Settings().SmoothLevel, c.smooth) << c.lines;
    EXPECT_EQ(Settings().FontStyle, c.style) << c.lines;
    EXPECT_EQ(Settings().DrawLabels, c.drawLabels) << c.lines;
  }
}

TEST_F(SettingsTest, LabelFontReachesTheDrawingCode) {
  dir.Write("Varnik.ini",
            "; the editor's settings\n[OPTIONS]\nFontName = 'Times New Roman' \nFontHeight=14\n"
            "FontCharset=204\n[Other]\nFontName=Wrong\n");
  LoadSettings(Ini());
  EXPECT_EQ(Settings().FontName, "Times New Roman");
  EXPECT_EQ(Settings().FontCharset, 204);
  EXPECT_EQ(DefaultLabelFont().Name, "Times New Roman");
  EXPECT_EQ(DefaultLabelFont().Height, 14);
  EXPECT_EQ(DefaultLabelFont().Style, 1);
  std::filesystem::remove(Ini());
}

}  // namespace
}  // namespace varnik
