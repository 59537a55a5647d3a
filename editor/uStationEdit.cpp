#include "editor/uStationEdit.h"

#include "core/uUtils.h"
#include "editor/uMapEditor.h"
#include "editor/uMemo.h"
#include "map/uMetroMap.h"
#include "network/uRoute.h"
#include "platform/uCodePage.h"

namespace varnik {

namespace {

void FillList(const TNeibourList& list, std::string& names, std::string& times) {
  for (const auto& neibour : list) {
    names += (neibour->Reversed ? "-" : "") + neibour->Stop->Station->Name + "\r\n";
    times += SecondsToTimeStr(neibour->Time) + "\r\n";
  }
}

void ReadList(const TRoute& route, const std::string& namesText, const std::string& timesText,
              TNeibourList& list) {
  list.clear();
  const std::vector<std::string> names = MemoLines(namesText);
  const std::vector<std::string> times = MemoLines(timesText);
  for (size_t i = 0; i < names.size(); ++i) {
    std::string name = names[i];
    if (name.empty()) continue;
    auto neibour = std::make_unique<TNeibourStop>();
    if (name[0] == '-') {
      neibour->Reversed = true;
      name.erase(0, 1);
    }
    neibour->Stop = route.FindStopByName(name);
    if (neibour->Stop == nullptr) continue;
    neibour->Time = i < times.size() ? TimeStrToSeconds(times[i]) : 0;
    list.push_back(std::move(neibour));
  }
}

}  // namespace

TStationFields StationFields(const TMetroMapStation& station) {
  TStationFields fields;
  const TStop* stop = station.Stop;
  if (stop == nullptr) return fields;
  fields.Name = stop->Station->Name;
  FillList(stop->Forward, fields.ForwardNames, fields.ForwardTimes);
  FillList(stop->Backward, fields.BackwardNames, fields.BackwardTimes);
  return fields;
}

void ApplyStationFields(TMapEditor& editor, TMetroMapStation& station, const TStationFields& fields) {
  TStop* stop = station.Stop;
  if (stop == nullptr || stop->Route == nullptr) return;
  editor.Change(Utf8ToCp1251("Свойства станции"), [&] {
    stop->Station->Name = TrimBlank(fields.Name);
    ReadList(*stop->Route, fields.ForwardNames, fields.ForwardTimes, stop->Forward);
    ReadList(*stop->Route, fields.BackwardNames, fields.BackwardTimes, stop->Backward);
  });
}

}  // namespace varnik
