// The activation policy against a window system that records what it is asked to do.
#include <gtest/gtest.h>

#include "platform/activationpolicy.h"
#include "platform/keystrokes.h"
#include "platform/runtimeerror.h"

namespace pw {
namespace {

class RecordingWindowSystem final : public WindowSystem {
 public:
  std::vector<WindowCandidate> open;
  int attemptCount = 3;
  int focusedByAttempt = -1;  // the attempt after which the target has the focus; -1: none does
  bool focusTaken = false;  // another window took the focus since the last raise
  std::optional<Text> otherFocus;
  int heldFor = 0;  // pauses the user keeps holding Ctrl
  std::vector<std::string> log;
  int paused = 0;

  std::vector<WindowCandidate> windows() override { return open; }
  int raiseAttempts() override { return attemptCount; }
  void raise(WindowHandle window, int attempt) override {
    log.push_back("raise " + std::to_string(window) + " by " + std::to_string(attempt));
    raisedBy = attempt;
    focusTaken = false;
  }
  bool hasFocus(WindowHandle) override { return !focusTaken && focusedByAttempt >= 0 && raisedBy >= focusedByAttempt; }
  std::optional<Text> focusedTitle() override { return otherFocus; }
  void settleFocus(WindowHandle window) override { log.push_back("settle " + std::to_string(window)); }
  Text heldModifier() override { return paused < heldFor ? u"Ctrl" : u""; }
  void prepareKeys(TextView keys) override { parseKeys(keys); }
  void typeKeys(TextView keys) override { log.push_back("type " + toUtf8(keys)); }
  void pause(int ms) override { paused += ms > 0; }

 private:
  int raisedBy = -1;
};

// The description of what `call` throws, or "" when it throws nothing.
template <typename Call>
Text failure(Call call) {
  try {
    call();
  } catch (const RuntimeError& e) {
    return e.description();
  }
  return {};
}

class ActivationTest : public ::testing::Test {
 protected:
  RecordingWindowSystem system;
  ActivationPolicy policy{system, ActivationTiming{600, 2000, 10}};
};

TEST_F(ActivationTest, TriesEachAttemptInTurnUntilTheChosenWindowHasTheFocus) {
  system.open = {{7, u"Inbox — Thunderbird"}, {8, u"Page — Mozilla Firefox"}, {9, u"Firefox"}};
  system.focusedByAttempt = 1;
  policy.activate(u"firefox");
  EXPECT_EQ(system.log, (std::vector<std::string>{"raise 9 by 0", "raise 9 by 1", "settle 9"}));
  // Each attempt had its share of the time: 600 ms over three attempts, 10 ms a look.
  EXPECT_EQ(system.paused, 20);
}

TEST_F(ActivationTest, AFailureSaysWhatWasExpectedAndWhatWasFound) {
  system.open = {{7, u"Inbox — Thunderbird"}, {8, u"Pagewick"}, {9, u""}};
  EXPECT_EQ(failure([&] { policy.activate(u"Firefox"); }),
            u"No window whose title is, starts with or ends with \"Firefox\" was found, nor a private, Developer "
            u"Edition or Nightly Firefox window. Windows open now: \"Inbox — Thunderbird\", \"Pagewick\".");
  system.open.clear();
  EXPECT_THROW(policy.activate(u"Firefox"), RuntimeError);
  system.open = {{8, u"Page — Mozilla Firefox"}};
  system.otherFocus = u"Terminal";
  EXPECT_EQ(failure([&] { policy.activate(u"Firefox"); }),
            u"The window \"Page — Mozilla Firefox\" was found for \"Firefox\" and brought forward, "
            u"but \"Terminal\" kept the focus.");
  EXPECT_EQ(system.log, (std::vector<std::string>{"raise 8 by 0", "raise 8 by 1", "raise 8 by 2"}));
  EXPECT_EQ(windowNotFoundDescription(u"Firefox Tip", {}),
            u"No window whose title is, starts with or ends with \"Firefox Tip\" was found. No other window is open.");
}

TEST_F(ActivationTest, KeysWaitForTheUsersModifiersAndNeverGoWhileOneIsHeld) {
  system.heldFor = 30;
  policy.sendKeys(u"^c");
  EXPECT_EQ(system.log, (std::vector<std::string>{"type ^c"}));
  system.paused = 0;
  system.heldFor = 1000;
  EXPECT_EQ(failure([&] { policy.sendKeys(u"^a"); }), keyHeldDescription(u"^a", u"Ctrl"));
  EXPECT_EQ(system.paused, 200);
  system.paused = 0;
  EXPECT_THROW(policy.sendKeys(u"{nosuchkey}"), RuntimeError);
  EXPECT_EQ(system.paused, 0) << "a fault in the keys is told at once";
  EXPECT_EQ(system.log.size(), 1u);
}

// Keys go only to the window brought forward: one that lost the focus since is brought forward
// again, and when it cannot be, nothing is typed. After a failed activation there is no such
// window, and the keys go where the focus is.
TEST_F(ActivationTest, KeysGoOnlyToTheWindowBroughtForward) {
  system.open = {{7, u"Inbox — Thunderbird"}, {9, u"Firefox"}};
  system.focusedByAttempt = 0;
  policy.activate(u"Firefox");
  system.focusTaken = true;
  policy.sendKeys(u"^a");
  EXPECT_EQ(system.log, (std::vector<std::string>{"raise 9 by 0", "settle 9", "raise 9 by 0", "settle 9", "type ^a"}));

  system.log.clear();
  system.focusTaken = true;
  system.focusedByAttempt = -1;
  system.otherFocus = u"Inbox — Thunderbird";
  EXPECT_EQ(failure([&] { policy.sendKeys(u"^c"); }),
            windowNotActivatedDescription(u"Firefox", u"Firefox", u"Inbox — Thunderbird"));
  EXPECT_EQ(system.log, (std::vector<std::string>{"raise 9 by 0", "raise 9 by 1", "raise 9 by 2"}));

  system.log.clear();
  EXPECT_THROW(policy.activate(u"Google Chrome"), RuntimeError);
  policy.sendKeys(u"^c");
  EXPECT_EQ(system.log, (std::vector<std::string>{"type ^c"}));
}

}  // namespace
}  // namespace pw
