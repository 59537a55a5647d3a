#pragma once
// The windows' message sink: modal Qt message boxes carrying the main
// window's caption.

#include <string>

#include "platform/uMessages.h"

class QWidget;

namespace varnik {

class TMessageBoxSink : public TMessageSink {
 public:
  // `parent` may be nullptr; `caption` is Windows-1251.
  TMessageBoxSink(QWidget* parent, std::string caption);
  void Show(const std::string& text, TMessageStyle style) override;
  bool Ask(const std::string& text) override;

 private:
  QWidget* parent_;
  std::string caption_;
};

}  // namespace varnik
