#pragma once
// A linked network read from transport file texts (UTF-8 in the tests,
// Windows-1251 in the model), and a journey written out as text so that a
// test compares a whole journey in one line.

#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "core/uIniStream.h"
#include "journeys/uJourney.h"
#include "network/uNetworkReader.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik::test {

class TTestNetwork {
 public:
  // Each text is one transport file, read in order as the city reads them;
  // the first is "Metro.trp", the others "2.trp", "3.trp", ...
  explicit TTestNetwork(const std::vector<std::string>& files) {
    TScopedMessageSink scope(messages);
    TNetworkReader reader(transports);
    for (const std::string& file : files)
      reader.ReadText(CityText(file),
                      transports.Items.empty() ? "Metro.trp" : std::to_string(transports.Items.size() + 1) + ".trp");
    transports.Link();
  }
  TTransports transports;
  TRecordingSink messages;
};

// "wait 90 Red A,B,C 300 | walk C>C 60 | ... = 450/2": every leg, then the
// total seconds and the boardings.
inline std::string Describe(const TJourney& journey) {
  std::string text;
  for (const TJourneyLeg& leg : journey.Legs) {
    if (leg.Kind == TLegKind::Ride) {
      if (leg.WaitSeconds != 0) text += "wait " + std::to_string(leg.WaitSeconds) + " ";
      text += Cp1251ToUtf8(leg.Route->Name) + " ";
      for (size_t i = 0; i < leg.Stops.size(); ++i)
        text += (i ? "," : "") + Cp1251ToUtf8(leg.Stops[i]->Station->Name);
    } else {
      text += "walk " + Cp1251ToUtf8(leg.Stops[0]->Station->Name) + ">" +
              Cp1251ToUtf8(leg.Stops[1]->Station->Name);
    }
    text += " " + std::to_string(leg.Seconds) + " | ";
  }
  return text + "= " + std::to_string(journey.TotalSeconds) + "/" + std::to_string(journey.Boardings);
}

}  // namespace varnik::test
