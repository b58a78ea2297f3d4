#pragma once
// A notifier for tests: keeps the kind, title and text of every notice, in
// the order they came.
#include <string>
#include <vector>

#include "model/notifier.h"

namespace veldrane::test {

class CapturingNotifier : public INotifier {
 public:
  void Notify(NoticeKind kind, const std::string& title, const std::string& text) override {
    kinds.push_back(kind);
    titles.push_back(title);
    texts.push_back(text);
  }
  std::vector<NoticeKind> kinds;
  std::vector<std::string> titles, texts;
};

}  // namespace veldrane::test
