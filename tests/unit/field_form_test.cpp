// Fill-in fields: the tokens read into fields, the answers typed in their places as plain text
// with the caret counting them, and an output that asks for fields waiting for the form.
#include <string>
#include <vector>

#include "common/heap.h"
#include "common/text.h"
#include "forms/field_form.h"
#include "player/output_player.h"
#include "triggers/word_case.h"
#include "tests/unit/watcher_fixture.h"
#include "watcher/expansion.h"

const char kReply[] =
    "Dear {Input Name}, thank you for order {Input Order = #}. {Choice Sign=Best regards| Kind regards |Cheers}, "
    "{input NAME}?";

std::string FieldsText() {
  std::string text;
  for (int i = 0; i < gForm.fieldCount; ++i) {
    const FormField& field = gForm.fields[i];
    text += std::string(field.kind == kFieldChoice ? "choice " : "input ") + field.name + "=" + field.offer + ";";
  }
  return text;
}

TEST(FieldTokens, NamesDefaultsChoicesAndWhatIsNoToken) {
  EXPECT_EQ(ReadFormFields(kReply), 3);
  EXPECT_EQ(FieldsText(), "input Name=;input Order=#;choice Sign=Best regards|Kind regards|Cheers;")
      << "a name asked again in any case is the same field";
  ReadFormFields("{Input  First name }{Choice Empty=}{Choice Blank= | }{Input Nope{Input  }{Choice X}");
  EXPECT_EQ(FieldsText(), "input First name=;input Empty=;input Blank=;input X=;")
      << "a choice without values asks for text; no \"}\" or no name is no token";
  EXPECT_EQ(FieldTokenLength("{Input Nope"), 0u);
  EXPECT_FALSE(OutputAsksFields("{Inputs} {Input  } {Choice"));
  ReleaseFieldForm();
}

class FieldAnswersTest : public WatcherTest {
 protected:
  void TearDown() override {
    ReleaseFieldForm();
    WatcherTest::TearDown();
  }
  // Plays `output` to its end and returns what it typed, the caret's Left presses left out.
  std::string Play(const std::string& output) {
    gFake.events.clear();
    gPlayer.outputBuffer = static_cast<char*>(AllocZeroed(output.size() + 1, 1));
    memcpy(gPlayer.outputBuffer, output.data(), output.size());
    StartPlayer();
    for (int tick = 0; tick < 10 && gPlayer.outputBuffer; ++tick) PlayOutputTick();
    std::string typed = FakeTypedText();
    return typed.substr(0, typed.find_last_not_of('?') + 1);
  }
  static int LeftPresses() {
    int presses = 0;
    for (const FakeEvent& e : FakeEventsOf(kFakeKeyEvent)) presses += e.a == 0x25 && !(e.c & kKeyEventKeyUp);
    return presses;
  }
};

TEST_F(FieldAnswersTest, AnswersAreTypedAsPlainTextAndTheCaretCountsThem) {
  ReadFormFields(kReply);
  SetFieldAnswer(0, "ann {Enter} 100% RUN: x");
  SetFieldAnswer(1, "42");
  SetFieldAnswer(2, "Cheers");
  gPlayer.outputCase = kCaseAllCapitals;
  EXPECT_EQ(Play("dear {Input name}{Cursor}, #{Input Order}."), "DEAR ann {Enter} 100% RUN: x, #42.")
      << "the case typed applies to the written text alone";
  EXPECT_EQ(LeftPresses(), 6);
  EXPECT_EQ(Play("{Choice sign=a|b}"), "Cheers");
}

TEST_F(FieldAnswersTest, AnOutputWithFieldsWaitsForTheFormAndACancelTypesTheAbbreviationBack) {
  CopyTextBounded(gShell.triggerPath, PathOf("triggers.txt").c_str(), sizeof gShell.triggerPath);
  ASSERT_EQ(Load(std::string("ty=") + kReply + "\r\n"), 1);
  Type("ty");
  EXPECT_TRUE(outputs_.empty()) << "nothing plays before the form's answer";
  std::vector<FakeEvent> forms = FakeEventsOf(kFakeFieldForm);
  ASSERT_EQ(forms.size(), 1u);
  EXPECT_EQ(forms[0].text, "ty");
  EXPECT_EQ(forms[0].b, 3u);
  EXPECT_EQ(FakeKeyEventText(), "8:0 8:2 8:0 8:2") << "the abbreviation is erased first";
  TypeBackCancelledForm();
  ASSERT_NE(gPlayer.outputBuffer, nullptr);
  EXPECT_STREQ(gPlayer.outputBuffer, "ty");
  EXPECT_TRUE(gPlayer.literalOutput);
  FreeAndForget(gPlayer.outputBuffer);
  EXPECT_FALSE(gForm.open);

  Type("ty");
  SetFieldAnswer(0, "Ann");
  PlayAcceptedForm();
  ASSERT_NE(gPlayer.outputBuffer, nullptr);
  EXPECT_STREQ(gPlayer.outputBuffer, kReply);
  EXPECT_FALSE(gPlayer.literalOutput);
}
