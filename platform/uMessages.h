#pragma once
// Every diagnostic and question of the system goes through one message sink:
// message boxes in the windows, lines on stderr in the command-line tools, a
// recording in the tests. Texts are Windows-1251, exactly as the system words
// them; the sink converts them for display.

#include <cstdio>
#include <string>
#include <vector>

namespace varnik {

enum class TMessageStyle {
  Plain,       // an ordinary box with an OK button
  Foreground,  // the same box, brought to the front first
  Warning,     // a box with the warning icon
};

class TMessageSink {
 public:
  virtual ~TMessageSink() = default;
  virtual void Show(const std::string& text, TMessageStyle style) = 0;
  // A Yes/No question; true for Yes.
  virtual bool Ask(const std::string& text) = 0;
};

// Reports a message through the current sink.
void ShowMessage(const std::string& text, TMessageStyle style = TMessageStyle::Plain);
bool AskYesNo(const std::string& text);

// Installs the sink every later message goes to (not owned; nullptr restores
// the stderr sink). Returns the sink that was installed before.
TMessageSink* SetMessageSink(TMessageSink* sink);

// Writes each message as one UTF-8 line on a stream (stderr unless told
// otherwise); questions are answered Yes.
class TStderrSink : public TMessageSink {
 public:
  explicit TStderrSink(std::FILE* out = stderr) : out_(out) {}
  void Show(const std::string& text, TMessageStyle style) override;
  bool Ask(const std::string& text) override;

 private:
  std::FILE* out_;
};

// Keeps every message for later inspection; questions get `Answer`.
class TRecordingSink : public TMessageSink {
 public:
  struct TEntry {
    std::string Text;
    TMessageStyle Style;
  };
  std::vector<TEntry> Entries;
  std::vector<std::string> Questions;
  bool Answer = true;

  void Show(const std::string& text, TMessageStyle style) override;
  bool Ask(const std::string& text) override;
  std::vector<std::string> Texts() const;
};

// Installs a sink for the lifetime of a scope and restores the previous one.
class TScopedMessageSink {
 public:
  explicit TScopedMessageSink(TMessageSink& sink) : previous_(SetMessageSink(&sink)) {}
  ~TScopedMessageSink() { SetMessageSink(previous_); }
  TScopedMessageSink(const TScopedMessageSink&) = delete;
  TScopedMessageSink& operator=(const TScopedMessageSink&) = delete;

 private:
  TMessageSink* previous_;
};

}  // namespace varnik
