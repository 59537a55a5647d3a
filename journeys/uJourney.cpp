#include "journeys/uJourney.h"

namespace varnik {

std::string DurationText(int64_t seconds, std::string_view minutesWord, std::string_view secondsWord) {
  const std::string minutes = std::to_string(seconds / 60) + " " + std::string(minutesWord);
  const std::string rest = std::to_string(seconds % 60) + " " + std::string(secondsWord);
  if (seconds % 60 == 0) return minutes;
  return seconds < 60 ? rest : minutes + " " + rest;
}

}  // namespace varnik
