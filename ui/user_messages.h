#pragma once
// Every message box and question of the catalog goes through UserMessages,
// so that the logic behind the windows runs headless: the catalog shows
// real dialogs (DialogMessages), the tests answer from a script and read
// back what was shown (RecordedMessages).
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace veldrane::ui {

enum class MessageIcon { None, Information, Warning, Critical, Question };

// The buttons a question offers; the answer is one of them.
enum class MessageButton { Ok, Yes, No, Cancel };

struct ShownMessage {
  QString title;
  QString text;
  MessageIcon icon = MessageIcon::None;
  std::vector<MessageButton> buttons;  // empty for a plain message (OK)
};

class UserMessages {
 public:
  virtual ~UserMessages() = default;
  // A message with an OK button.
  virtual void Inform(const QString& text, const QString& title, MessageIcon icon = MessageIcon::None) = 0;
  // A question; returns the button the user chose (Cancel when the box is
  // closed without a choice and Cancel is offered, else the last button).
  virtual MessageButton Ask(const QString& text, const QString& title, std::vector<MessageButton> buttons,
                            MessageIcon icon = MessageIcon::Question) = 0;
  // Yes/No question: true for Yes.
  bool AskYesNo(const QString& text, const QString& title) {
    return Ask(text, title, {MessageButton::Yes, MessageButton::No}) == MessageButton::Yes;
  }
  // A line of text (a new name), starting from `initial`; nullopt when cancelled.
  virtual std::optional<QString> AskText(const QString& label, const QString& title, const QString& initial) = 0;
  // A file to write, or a folder; nullopt when cancelled.
  virtual std::optional<QString> AskSaveFile(const QString& title, const QString& proposed, const QString& filter) = 0;
  virtual std::optional<QString> AskFolder(const QString& title, const QString& start) = 0;
};

// QMessageBox, parented to `parent` (which may be null).
class DialogMessages final : public UserMessages {
 public:
  explicit DialogMessages(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Inform(const QString& text, const QString& title, MessageIcon icon = MessageIcon::None) override;
  MessageButton Ask(const QString& text, const QString& title, std::vector<MessageButton> buttons,
                    MessageIcon icon = MessageIcon::Question) override;
  std::optional<QString> AskText(const QString& label, const QString& title, const QString& initial) override;
  std::optional<QString> AskSaveFile(const QString& title, const QString& proposed, const QString& filter) override;
  std::optional<QString> AskFolder(const QString& title, const QString& start) override;

 private:
  QWidget* parent_;
};

// Records every message; answers questions from a queue of answers given in
// advance (a question with no answer left is answered with its last button
// and recorded all the same). Requests for text, files and folders take the
// queued texts in order, and are cancelled when none is left.
class RecordedMessages final : public UserMessages {
 public:
  void QueueAnswer(MessageButton answer) { answers_.push_back(answer); }
  void QueueText(const QString& text) { texts_.push_back(text); }
  void Inform(const QString& text, const QString& title, MessageIcon icon = MessageIcon::None) override;
  MessageButton Ask(const QString& text, const QString& title, std::vector<MessageButton> buttons,
                    MessageIcon icon = MessageIcon::Question) override;
  std::optional<QString> AskText(const QString& label, const QString& title, const QString& initial) override;
  std::optional<QString> AskSaveFile(const QString& title, const QString& proposed, const QString& filter) override;
  std::optional<QString> AskFolder(const QString& title, const QString& start) override;

  const std::vector<ShownMessage>& Shown() const { return shown_; }
  QStringList Texts() const;
  void Clear() { shown_.clear(); answers_.clear(); texts_.clear(); }

 private:
  std::optional<QString> NextText(const QString& text, const QString& title);

  std::vector<ShownMessage> shown_;
  std::deque<MessageButton> answers_;
  std::deque<QString> texts_;
};

}  // namespace veldrane::ui
