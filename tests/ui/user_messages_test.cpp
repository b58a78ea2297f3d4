#include <gtest/gtest.h>

#include "ui/user_messages.h"

namespace veldrane::ui {
namespace {

// Questions are answered from the queue in order; once it is empty, with
// the question's last button; everything asked or told is recorded.
TEST(RecordedMessages, AnswersFromTheQueueThenWithTheLastButton) {
  RecordedMessages messages;
  messages.QueueAnswer(MessageButton::Yes);
  EXPECT_TRUE(messages.AskYesNo("Save?", "Stop Editing"));
  EXPECT_FALSE(messages.AskYesNo("Save again?", "Stop Editing"));
  EXPECT_EQ(messages.Ask("Overwrite?", "Changed", {MessageButton::Yes, MessageButton::No, MessageButton::Cancel}),
            MessageButton::Cancel);
  messages.Inform("Done", "Halden Veldrane", MessageIcon::Information);
  ASSERT_EQ(messages.Shown().size(), 4u);
  EXPECT_EQ(messages.Texts(), QStringList({"Save?", "Save again?", "Overwrite?", "Done"}));
  EXPECT_EQ(messages.Shown()[3].icon, MessageIcon::Information);
  EXPECT_TRUE(messages.Shown()[3].buttons.empty());
}

}  // namespace
}  // namespace veldrane::ui
