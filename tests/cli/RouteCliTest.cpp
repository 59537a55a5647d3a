// varnik route and render --route as a user runs them: names typed in
// UTF-8, the journey as text and JSON, the exit codes of unknown names and
// of no journey.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "TestFiles.h"
#include "cli/RunTool.h"

namespace varnik {
namespace {

using test::RunTool;

std::string Quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// Синяя and Красная meet at Центр; Остров has no driving time to Мыс.
class RouteCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    city.Write("Town.cty", "[Options]\nName=Town\n");
    city.Write("Metro.trp",
               "[Line1]\nName=Синяя\nStations=Север,Центр,Юг\nDriving=2,3\nDelays=4,9\n"
               "[Line2]\nName=Красная\nStations=Запад,Центр,\"Восток, конечная\"\nDriving=1,1.30\n"
               "[Line3]\nName=Остров\nStations=Остров,Мыс\nDriving=0\n"
               "[Transfers]\n1=Синяя,Центр,Красная,Центр,0.45,1\n");
    city.Write("Back.vec", "Size 60x40\n");
    city.Write("Metro.map",
               "[Options]\nImageFileName=Back.vec\n[Синяя]\nColor=0000FF\nCoordinates=10,10, 30,10, 50,10\n"
               "[Красная]\nColor=FF0000\nCoordinates=30,30, 30,10, 50,30\n");
  }
  test::TToolResult Route(const std::string& arguments) {
    return RunTool("varnik", "route " + Quoted(city.Path()) + " " + arguments);
  }
  test::TTempDir city;
};

TEST_F(RouteCliTest, PrintsTheLegsAndTheTotal) {
  auto r = Route("Север 'восток, конечная' --delay ДЕНЬ");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "ride Синяя: Север -> Центр: 2 min (after a wait of 2 min)\n"
            "walk Центр (Синяя) -> Центр (Красная): 45 s\n"
            "ride Красная: Центр -> Восток, конечная: 1 min 30 s (after a wait of 0 min)\n"
            "total: 6 min 15 s, 2 boardings\n");
}

TEST_F(RouteCliTest, PrintsOneJsonObject) {
  // The walk back from Красная to Синяя takes its own time.
  auto r = Route("Запад Юг --json --delay ночь");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(nlohmann::json::parse(r.Out), nlohmann::json::parse(R"({
      "from": "Запад", "to": "Юг", "delay": "Ночь", "total_seconds": 570, "boardings": 2,
      "legs": [{"kind": "ride", "route": "Красная", "stations": ["Запад", "Центр"], "seconds": 60,
                "wait_seconds": 0},
               {"kind": "walk", "from": "Центр", "to": "Центр", "seconds": 60},
               {"kind": "ride", "route": "Синяя", "stations": ["Центр", "Юг"], "seconds": 180,
                "wait_seconds": 270}]})"));
  r = Route("Юг Юг --json");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(nlohmann::json::parse(r.Out).dump(),
            R"({"boardings":0,"delay":null,"from":"Юг","legs":[],"to":"Юг","total_seconds":0})");
}

TEST_F(RouteCliTest, UnknownNamesAndNoJourney) {
  struct {
    const char* Arguments;
    int ExitCode;
    const char* Err;
  } cases[] = {
      {"Цнтр Юг", 2, "varnik: the city has no station \"Цнтр\"; similar names: \"Центр\"\n"},
      {"Юг Ничто", 2, "varnik: the city has no station \"Ничто\"\n"},
      {"Юг Север --delay Вечер", 2,
       "varnik: the city has no delay column \"Вечер\"; its columns: \"День\", \"Ночь\"\n"},
      {"Остров Мыс", 1, "varnik: no journey from \"Остров\" to \"Мыс\"\n"},
  };
  for (const auto& c : cases) {
    auto r = Route(c.Arguments);
    EXPECT_EQ(r.ExitCode, c.ExitCode) << c.Arguments;
    EXPECT_EQ(r.Err, c.Err) << c.Arguments;
    EXPECT_EQ(r.Out, "") << c.Arguments;
  }
}

TEST_F(RouteCliTest, RenderDrawsTheJourneyOverTheMap) {
  test::TTempDir work;
  auto render = [&](const std::string& name, const std::string& options) {
    return RunTool("varnik",
                   "render " + Quoted(city.Path()) + " --out " + Quoted(work.Path() / name) + options);
  };
  ASSERT_EQ(render("plain.png", "").ExitCode, 0);
  auto r = render("route.png", " --route Север Юг --delay день");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(work.ReadBytes("route.png"), work.ReadBytes("plain.png"));
  r = render("none.png", " --route Север Ничто");
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(work.Path() / "none.png"));
}

}  // namespace
}  // namespace varnik
