#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "TestFiles.h"
#include "cli/RunTool.h"

namespace varnik {
namespace {

using test::RunTool;

const std::string kDemo = std::string(VARNIK_EXAMPLES) + "/Zarechensk";

TEST(VarnikCheck, DemoCityIsClean) {
  auto r = RunTool("varnik", "check " + kDemo);
  EXPECT_EQ(r.ExitCode, 0) << r.Out << r.Err;
  EXPECT_EQ(r.Out, "");
}

TEST(VarnikCheck, DiagnosticsGoToStdoutInLoadOrder) {
  test::TTempDir dir;
  dir.Write("Town.cty", "[Options]\nNeedVersion=7\n");
  dir.Write("Metro.trp", "[Line1]\nName=Красная\nStations=A,B\nAliases=Я,Z\n");
  dir.Write("Metro.map", "[Options]\n");
  auto r = RunTool("varnik", "check " + dir.Path().string());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out, "Требуется версия Varnik не ниже 7!\nStation Я (Route Красная) not found.\n");
  EXPECT_EQ(r.Err, "2 diagnostics\n");
}

TEST(VarnikCheck, NotACityAndNoDirectory) {
  test::TTempDir dir;
  auto r = RunTool("varnik", "check " + dir.Path().string());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out, "TCity.LoadFromDir: *.cty file not found.\n");
  r = RunTool("varnik", "check " + (dir.Path() / "missing").string());
  EXPECT_EQ(r.ExitCode, 2);
}

TEST(VarnikDump, PrintsTheCityAsUtf8Json) {
  auto r = RunTool("varnik", "dump " + kDemo);
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  auto json = nlohmann::json::parse(r.Out);
  EXPECT_EQ(json["city"]["rusName"], "Зареченск");
  EXPECT_EQ(json["transports"][0]["file"], "Metro.trp");
  const auto& red = json["transports"][0]["routes"][0];
  EXPECT_EQ(red["name"], "Красная");
  EXPECT_EQ(red["stops"][3]["name"], "Площадь Мира, южный вход");
  EXPECT_EQ(red["stops"][0]["forward"][0]["stop"], 1);
  EXPECT_EQ(red["stops"][0]["forward"][0]["time"], 130);
  EXPECT_TRUE(json["diagnostics"].empty());
  const auto& metro = json["maps"][0];
  EXPECT_EQ(metro["name"], "Metro.map");
  EXPECT_EQ(metro["parent"], nullptr);
  EXPECT_EQ(metro["current"], true);
  EXPECT_EQ(json["maps"][1]["parent"], "Metro.map");
  bool backdrop = false;
  for (const auto& image : json["images"]) backdrop |= image["name"] == "Zarechensk.vec" && image["kind"] == 4;
  EXPECT_TRUE(backdrop);
}

TEST(VarnikDump, DiagnosticsGoToStderrAndIntoTheJson) {
  test::TTempDir dir;
  dir.Write("Town.cty", "[Options]\n");
  dir.Write("Metro.trp", "[Line1]\nName=M\nStations=A(Q)\n");
  dir.Write("Metro.map", "[Options]\n");
  auto r = RunTool("varnik", "dump " + dir.Path().string());
  EXPECT_EQ(r.Err, "Station Q not found in Route M\n");
  auto json = nlohmann::json::parse(r.Out);
  EXPECT_EQ(json["diagnostics"][0], "Station Q not found in Route M");
}

}  // namespace
}  // namespace varnik
