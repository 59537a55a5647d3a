#include "platform/gui/uInfoOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <string_view>

namespace varnik {
namespace {

bool AsksForInfo(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument == "-h" || argument == "--help" || argument == "-?" || argument == "-v" ||
        argument == "--version")
      return true;
  }
  return false;
}

}  // namespace

std::optional<int> AnswerInfoOptions(int argc, char** argv, const TProgramInfo& info) {
  if (!AsksForInfo(argc, argv)) return std::nullopt;
  // A core application is enough for the parser and needs no display.
  QCoreApplication application(argc, argv);
  QCoreApplication::setApplicationName(QString::fromStdString(info.Name));
  QCoreApplication::setApplicationVersion(QStringLiteral(VARNIK_VERSION));
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(info.Description));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addPositionalArgument(QString::fromUtf8(info.Arguments), QString::fromUtf8(info.ArgumentsHelp),
                               QString::fromUtf8(info.Arguments));
  // Unknown options are no error here: the program's own arguments are not options.
  parser.parse(QCoreApplication::arguments());
  const std::string text = parser.isSet(version)
                               ? info.Name + " " + VARNIK_VERSION + "\n"
                               : parser.helpText().toStdString();
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

}  // namespace varnik
