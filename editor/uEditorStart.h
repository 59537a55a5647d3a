#pragma once
// How the editor starts and moves between cities: in a city directory (or
// with a map named on the command line) it opens the current directory as
// always; elsewhere it lets the user choose a city first. A city chosen
// later through "Открыть город..." is opened the same way once the window
// of the previous one has closed.

#include <QString>
#include <memory>
#include <optional>
#include <string>

class QSettings;

namespace varnik {

class TMainForm;
class TMessageSink;
class TRecentCities;

// Makes `dir` the current directory and opens its city in a new window as
// if the program had been started there, remembering it as recent; the
// window is not shown yet. nullptr, with a message to `messages`, when the
// directory cannot be entered.
std::unique_ptr<TMainForm> OpenCityWindow(const QString& dir, const std::optional<std::string>& firstArgument,
                                          TRecentCities& recent, TMessageSink& messages);

// Runs the editor until its last city window closes; the result is the
// message loop's. The recent cities are kept in `settings`.
int RunEditor(const std::optional<std::string>& firstArgument, QSettings& settings, TMessageSink& messages);

}  // namespace varnik
