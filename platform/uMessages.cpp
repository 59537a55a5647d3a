#include "platform/uMessages.h"

#include <cstdio>

#include "platform/uCodePage.h"

namespace varnik {
namespace {

TStderrSink& DefaultSink() {
  static TStderrSink sink;
  return sink;
}

TMessageSink* currentSink = nullptr;

TMessageSink& CurrentSink() { return currentSink ? *currentSink : DefaultSink(); }

}  // namespace

void ShowMessage(const std::string& text, TMessageStyle style) { CurrentSink().Show(text, style); }

bool AskYesNo(const std::string& text) { return CurrentSink().Ask(text); }

TMessageSink* SetMessageSink(TMessageSink* sink) {
  TMessageSink* previous = currentSink;
  currentSink = sink;
  return previous;
}

void TStderrSink::Show(const std::string& text, TMessageStyle) {
  std::string line = Cp1251ToUtf8(text) + "\n";
  std::fwrite(line.data(), 1, line.size(), out_);
  std::fflush(out_);
}

bool TStderrSink::Ask(const std::string& text) {
  Show(text, TMessageStyle::Plain);
  return true;
}

void TRecordingSink::Show(const std::string& text, TMessageStyle style) {
  Entries.push_back({text, style});
}

bool TRecordingSink::Ask(const std::string& text) {
  Questions.push_back(text);
  return Answer;
}

std::vector<std::string> TRecordingSink::Texts() const {
  std::vector<std::string> texts;
  for (const TEntry& e : Entries) texts.push_back(e.Text);
  return texts;
}

}  // namespace varnik
