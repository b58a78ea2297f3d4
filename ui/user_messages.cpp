#include "ui/user_messages.h"

#include <QFileDialog>
#include <QInputDialog>
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

std::optional<QString> DialogMessages::AskText(const QString& label, const QString& title, const QString& initial) {
  bool ok = false;
  const QString text = QInputDialog::getText(parent_, title, label, QLineEdit::Normal, initial, &ok);
  return ok ? std::optional<QString>(text) : std::nullopt;
}

std::optional<QString> DialogMessages::AskSaveFile(const QString& title, const QString& proposed,
                                                   const QString& filter) {
  // The question whether to replace an existing file is the caller's.
  const QString file = QFileDialog::getSaveFileName(parent_, title, proposed, filter, nullptr,
                                                    QFileDialog::DontConfirmOverwrite);
  return file.isEmpty() ? std::nullopt : std::optional<QString>(file);
}

std::optional<QString> DialogMessages::AskFolder(const QString& title, const QString& start) {
  const QString folder = QFileDialog::getExistingDirectory(parent_, title, start);
  return folder.isEmpty() ? std::nullopt : std::optional<QString>(folder);
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

std::optional<QString> RecordedMessages::NextText(const QString& text, const QString& title) {
  shown_.push_back({title, text, MessageIcon::None, {}});
  if (texts_.empty()) return std::nullopt;
  QString answer = texts_.front();
  texts_.pop_front();
  return answer;
}

std::optional<QString> RecordedMessages::AskText(const QString& label, const QString& title, const QString&) {
  return NextText(label, title);
}

std::optional<QString> RecordedMessages::AskSaveFile(const QString& title, const QString& proposed, const QString&) {
  return NextText(proposed, title);
}

std::optional<QString> RecordedMessages::AskFolder(const QString& title, const QString& start) {
  return NextText(start, title);
}

QStringList RecordedMessages::Texts() const {
  QStringList texts;
  for (const auto& message : shown_) texts << message.text;
  return texts;
}

}  // namespace veldrane::ui
