#pragma once
// The small test city of the editor tests, loaded by the city's own loader
// from a temporary copy, with an editing state over it and a text memo.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "TestFiles.h"
#include "city/uCity.h"
#include "editor/uMapEditor.h"
#include "editor/uMemo.h"
#include "map/uMetroMap.h"
#include "map/uSettings.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik::test {

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Label sizes come from the default font, whatever lies beside the program.
    LoadSettings("no such settings file");
    Open();
  }

  void Open(std::optional<std::string> map = std::nullopt) {
    std::filesystem::copy(
        std::filesystem::path(VARNIK_TEST_DATA) / "editor" / "Small", dir.Path(),
        std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    TScopedCurrentDir here(dir.Path());
    city.LoadFromDir(map);
    ASSERT_TRUE(city.CurrentMap != nullptr);
  }

  TMetroMap& Map() { return *city.CurrentMap; }
  TMetroMapStation& Station(int line, int index) { return *Map().StationAt(line, index); }
  TCoordinate& At(int line, int index) { return Station(line, index).Coordinate; }
  TCoordinate& Node(int line, int segment, int node) {
    return Map().Lines[line]->Segments[segment]->Nodes[node]->Coordinate;
  }
  void Select(std::initializer_list<TCoordinate*> points) {
    editor.ClearSelection();
    for (TCoordinate* point : points) editor.Selection.push_back(point);
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& entry : messages.Entries) texts.push_back(Cp1251ToUtf8(entry.Text));
    return texts;
  }
  std::string MemoUtf8() const { return Cp1251ToUtf8(memo.Text()); }

  TRecordingSink messages;
  TScopedMessageSink scope{messages};
  TTempDir dir;
  TCity city;
  TMemoText memo;
  TMapEditor editor{city, memo};
};

}  // namespace varnik::test
