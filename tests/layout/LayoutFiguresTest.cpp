// The figures a layout is judged by, on a drawing small enough to count by
// hand.

#include <gtest/gtest.h>

#include "LayoutTestCity.h"
#include "layout/uLayoutFigures.h"

namespace varnik {
namespace {

TEST(LayoutFigures, CountedOnAHandMadeDrawing) {
  // A: (10,10) -> (40,40) diagonal, -> (70,50) slanted, bending at (40,40);
  // its second link is shaped through (70,40), so it bends there too.
  // B: (10,50) -> (40,10) crosses A's first piece; B's station (40,10) and
  // A's first station are joined by a transfer 30 pixels long.
  // C: (90,20) -> (40,70) straight through A's bend at (70,40), from one
  // side of A to the other.
  test::TLayoutTestCity city(
      "[Line1]\nName=A\nStations=A1,A2,A3\nDriving=1,1\n\n"
      "[Line2]\nName=B\nStations=B1,B2\nDriving=1\n\n"
      "[Line3]\nName=C\nStations=C1,C2\nDriving=1\n\n"
      "[Transfers]\n1=A,A1,B,B2,1\n",
      "[A]\nCoordinates=10,10, 40,40, 70,50\n\n"
      "[B]\nCoordinates=10,50, 40,10\n\n"
      "[C]\nCoordinates=90,20, 40,70\n\n"
      "[AdditionalNodes]\n1=A,A2,A3, 70,40\n2=C,C1,C2, 70,40\n");
  TMapGeometry before = CaptureGeometry(city.Map());
  before.Lines[1].Stations[0] = {10, 80};  // B1 was 30 pixels further down

  const TLayoutFigures figures = MeasureLayout(city.Map(), before, 10);

  EXPECT_EQ(figures.Pieces, 6);  // A1-A2, A2-(70,40), (70,40)-A3, B1-B2, C1-(70,40), (70,40)-C2
  EXPECT_EQ(figures.OctilinearPieces, 5);  // B1-B2 runs (30, -40)
  EXPECT_EQ(figures.Crossings, 2);         // A with B, and A with C at (70,40)
  EXPECT_EQ(figures.BendsPerLine, (std::vector<int32_t>{2, 0, 0}));
  EXPECT_DOUBLE_EQ(figures.MeanDisplacement, 3.0 / 7);  // one of seven stations moved 3 steps
  EXPECT_DOUBLE_EQ(figures.LongestTransfer, 3);
  EXPECT_DOUBLE_EQ(figures.ClosestStations, 3);  // A1-B2 and A2-B2
}

}  // namespace
}  // namespace varnik
