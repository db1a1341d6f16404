#pragma once
// A message box double: records every box shown (title, text, icon, buttons) and
// answers from a script, then with a default answer (OK unless set otherwise).
#include <deque>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace meridal::testing {

class RecordingMessages : public IMessages {
 public:
  struct Shown {
    std::string title;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
  };

  std::vector<Shown> shown;
  std::deque<MessageAnswer> script;  // answers given in order, before the default
  MessageAnswer defaultAnswer = MessageAnswer::Ok;

  MessageAnswer Show(const std::string& title, const std::string& text, MessageIcon icon,
                     MessageButtons buttons) override {
    shown.push_back(Shown{title, text, icon, buttons});
    if (script.empty()) return defaultAnswer;
    const MessageAnswer answer = script.front();
    script.pop_front();
    return answer;
  }

  // Queues answers for the next boxes.
  void Answer(std::initializer_list<MessageAnswer> answers) { script.insert(script.end(), answers); }

  // The texts shown, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& s : shown) texts.push_back(s.text);
    return texts;
  }
  bool Empty() const { return shown.empty(); }
  const Shown& Last() const { return shown.back(); }
  void Clear() { shown.clear(); }
};

}  // namespace meridal::testing
