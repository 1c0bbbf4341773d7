#include "rt/uihost.h"

#include <gtest/gtest.h>

#include "rt/testhost.h"

namespace {

using namespace rt::mb;

TEST(UiHost, DefaultAnswerByButtonsAndDefaultButton) {
  struct Case {
    int32_t buttons;
    int32_t answers[4];  // for default buttons 1, 2, 3 and 4 (768)
  };
  const Case cases[] = {
      {OkOnly, {Ok, Ok, Ok, Ok}},
      {OkCancel, {Ok, Cancel, Ok, Ok}},
      {AbortRetryIgnore, {Abort, Retry, Ignore, Abort}},
      {YesNoCancel, {Yes, No, Cancel, Yes}},
      {YesNo, {Yes, No, Yes, Yes}},
      {RetryCancel, {Retry, Cancel, Retry, Retry}},
      {6, {Ok, Ok, Ok, Ok}},  // no such button set: an OK button alone
      {15, {Ok, Ok, Ok, Ok}},
  };
  for (const Case& c : cases) {
    for (int d = 0; d < 4; ++d) {
      for (int32_t icon : {0, Critical, Question, Exclamation, Information, 4096}) {
        int32_t style = c.buttons | (d << 8) | icon;
        EXPECT_EQ(rt::defaultAnswer(style), c.answers[d]) << "style " << style;
      }
    }
  }
}

TEST(UiHost, HeadlessUntilAnotherIsInstalled) {
  rt::UiHost& h = rt::uiHost();
  EXPECT_EQ(h.messageBox(u"Save?", YesNoCancel | DefaultButton2, u"T"), No);
  EXPECT_EQ(h.inputBox(u"Name", u"T", u"default"), u"");
  h.beep();
  h.yield();

  auto scripted = rt::make<rt::ScriptedHost>();
  rt::Ref<rt::UiHost> previous = rt::setUiHost(scripted);
  EXPECT_EQ(&rt::uiHost(), scripted.get());
  EXPECT_EQ(rt::setUiHost(nullptr), scripted);
  EXPECT_EQ(&rt::uiHost(), previous.get());
  EXPECT_EQ(rt::uiHost().messageBox(u"x", OkCancel, u""), Ok);
}

TEST(ScriptedHost, AnswersInOrder) {
  auto host = rt::make<rt::ScriptedHost>();
  host->expectMessageBox(u"Save?", No)
      .expectInputBox(u"Name:", u"Kim")
      .expectMessageBox(u"Bye", Ok);
  {
    rt::ScopedUiHost installed(host);
    EXPECT_EQ(rt::uiHost().messageBox(u"Save?", YesNo | Question, u"Editor"), No);
    EXPECT_EQ(rt::uiHost().inputBox(u"Name:", u"Who", u"x"), u"Kim");
    rt::uiHost().beep();
    rt::uiHost().yield();
    rt::uiHost().yield();
    EXPECT_THROW(host->checkAllAsked(), std::logic_error);  // "Bye" not asked yet
    EXPECT_EQ(rt::uiHost().messageBox(u"Bye", OkOnly, u""), Ok);
  }
  EXPECT_NE(&rt::uiHost(), host.get());  // the scope restored the previous host
  EXPECT_NO_THROW(host->checkAllAsked());
  ASSERT_EQ(host->asked().size(), 3u);
  EXPECT_EQ(host->asked()[0].style, YesNo | Question);
  EXPECT_EQ(host->asked()[0].title, u"Editor");
  EXPECT_EQ(host->asked()[1].defaultText, u"x");
  EXPECT_EQ(host->beeps(), 1);
  EXPECT_EQ(host->yields(), 2);
}

// The message of the logic_error that `f` throws.
template <class F>
std::string failure(F f) {
  try {
    f();
  } catch (const std::logic_error& e) {
    return e.what();
  }
  ADD_FAILURE() << "nothing thrown";
  return {};
}

TEST(ScriptedHost, UnexpectedQuestionsFailLoudly) {
  struct Case {
    const char* name;
    void (*ask)(rt::ScriptedHost&);
    const char* expect;
  };
  const Case cases[] = {
      {"nothing expected", [](rt::ScriptedHost& h) { h.messageBox(u"Surprise", 0, u""); },
       "unexpected message box \"Surprise\""},
      {"other prompt",
       [](rt::ScriptedHost& h) {
         h.expectMessageBox(u"Save?", Yes);
         h.messageBox(u"Delete?", YesNo, u"");
       },
       "asked message box \"Delete?\" but expected message box \"Save?\""},
      {"other kind",
       [](rt::ScriptedHost& h) {
         h.expectMessageBox(u"Name:", Ok);
         h.inputBox(u"Name:", u"", u"");
       },
       "asked input box \"Name:\" but expected message box"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto host = rt::make<rt::ScriptedHost>();
    std::string message = failure([&] { c.ask(*host); });
    EXPECT_NE(message.find(c.expect), std::string::npos) << message;
    // Even when the code under test swallowed it, the check reports it.
    EXPECT_EQ(failure([&] { host->checkAllAsked(); }), message);
  }
}

}  // namespace
