#include <gtest/gtest.h>

#include "JourneyTestNetwork.h"
#include "journeys/drawing/uJourneyDrawing.h"
#include "journeys/uJourneyPlanner.h"
#include "map/uMetroMap.h"
#include "platform/uBitmap.h"
#include "vector/uVectorImage.h"

namespace varnik {
namespace {

// Red A-B-C-F and Blue D-E meet by a walk from C to D; only A and F have
// labels. Green is not on the map.
class JourneyDrawingTest : public ::testing::Test {
 protected:
  JourneyDrawingTest() {
    TIniStream ini;
    ini.LoadFromText(
        test::CityText("[Options]\nTransports=Metro.trp\n"
                       "[Red]\nColor=FF0000\nCoordinates=10,10, 20,10, 30,10, 90,90\n"
                       "Rects=1,1,8,6, 0,0,0,0, 0,0,0,0, 91,91,8,6\n"
                       "[Blue]\nColor=0000FF\nCoordinates=30,20, 40,20\n"));
    map.LoadFromIni(ini);
  }
  std::string Drawing(const char* from, const char* to) {
    auto journey = TJourneyPlanner(network.transports).Find(from, to, -1);
    if (!journey) return "none";
    TVectorImage image;
    BuildJourneyDrawing(image, map, *journey);
    return image.SaveToText();
  }
  TRecordingSink messages;
  TScopedMessageSink scope{messages};
  test::TTestNetwork network{
      {"[Line1]\nName=Red\nStations=A,B,C,F\nDriving=1,1,1\n"
       "[Line2]\nName=Blue\nStations=D,E\nDriving=1\n"
       "[Line3]\nName=Green\nStations=G,A\nDriving=1\n"
       "[Transfers]\n1=Red,C,Blue,D,0.30\n2=Green,A,Red,A,0.30\n"}};
  TMetroMap map{network.transports, nullptr};
};

TEST_F(JourneyDrawingTest, RidesWalksStationsAndLabelsOfTheJourneyOnly) {
  const std::string text = Drawing("G", "E");
  // The rides in their lines' colours, Green's left out.
  EXPECT_EQ(text.find("PenColor FF0000\r\nLine 10,10, 20,10, 9\r\nLine 20,10, 30,10, 9\r\n"
                      "PenColor 0000FF\r\nLine 30,20, 40,20, 9\r\n"),
            0u)
      << text;
  // The walk as a transfer connector (outline and corridor).
  EXPECT_NE(text.find("Line 30,10, 30,20, 9\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Line 30,10, 30,20, 7\r\n"), std::string::npos) << text;
  // The circles of the stations passed (E's, not F's), and one label: A's.
  EXPECT_NE(text.find("Ellipse 34.5,14.5, 45.5,25.5"), std::string::npos) << text;
  EXPECT_EQ(text.find("Ellipse 84.5,84.5"), std::string::npos) << text;
  const size_t label = text.find("AngleTextOut 0, , 0, 8, 4, A, 0, 3\r\n");
  EXPECT_NE(label, std::string::npos) << text;
  EXPECT_EQ(text.find("AngleTextOut", label + 1), std::string::npos) << text;
  EXPECT_TRUE(messages.Entries.empty());
}

TEST(JourneyFade, BringsColoursTowardsWhiteKeepingTheirOrder) {
  TBitmap bitmap(3, 1);
  bitmap.SetPixel(0, 0, 0x000000);
  bitmap.SetPixel(1, 0, 0x0000FF);
  FadeBitmap(bitmap);
  const int32_t black = bitmap.Pixel(0, 0), red = bitmap.Pixel(1, 0);
  EXPECT_EQ(bitmap.Pixel(2, 0), 0xFFFFFF);
  EXPECT_GE(black & 255, 150);
  EXPECT_LT(black & 255, 255);
  EXPECT_EQ(black, (black & 255) * 0x010101);
  EXPECT_EQ(red & 255, 255);
  EXPECT_EQ((red >> 8) & 255, black & 255);
}

}  // namespace
}  // namespace varnik
