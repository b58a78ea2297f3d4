#include "ui/user_messages.h"

#include <QMessageBox>

namespace veldrane::ui {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton BoxButton(MessageButton button) {
  switch (button) {
    case MessageButton::Ok: return QMessageBox::Ok;
    case MessageButton::Yes: return QMessageBox::Yes;
    case MessageButton::No: return QMessageBox::No;
    case MessageButton::Cancel: return QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

}  // namespace

void DialogMessages::Inform(const QString& text, const QString& title, MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), title, text, QMessageBox::Ok, parent_);
  box.exec();
}

MessageButton DialogMessages::Ask(const QString& text, const QString& title, std::vector<MessageButton> buttons,
                                  MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), title, text, QMessageBox::NoButton, parent_);
  for (MessageButton button : buttons) box.addButton(BoxButton(button));
  const auto chosen = static_cast<QMessageBox::StandardButton>(box.exec());
  for (MessageButton button : buttons) {
    if (BoxButton(button) == chosen) return button;
  }
  return buttons.empty() ? MessageButton::Ok : buttons.back();
}

void RecordedMessages::Inform(const QString& text, const QString& title, MessageIcon icon) {
  shown_.push_back({title, text, icon, {}});
}

MessageButton RecordedMessages::Ask(const QString& text, const QString& title, std::vector<MessageButton> buttons,
                                    MessageIcon icon) {
  shown_.push_back({title, text, icon, buttons});
  MessageButton answer = buttons.empty() ? MessageButton::Ok : buttons.back();
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  return answer;
}

QStringList RecordedMessages::Texts() const {
  QStringList texts;
  for (const auto& message : shown_) texts << message.text;
  return texts;
}

}  // namespace veldrane::ui
