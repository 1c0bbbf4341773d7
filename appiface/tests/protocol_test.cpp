// The host command protocol, for both editions: what each use of a command
// sends, and what each answer makes of it.
#include "apptest.h"
#include "jespin/values.h"
#include "rt/activation.h"
#include "rt/dispatch.h"
#include "rt/error.h"
#include "rt/testing.h"
#include "rt/text.h"

namespace apptest {
namespace {

using Protocol = AppTest;

std::u16string typeName(const rt::Ref<zorbel::ScriptValue>& v) {
  auto d = rt::queryRef<rt::Dispatch>(v.get());
  return d ? d->typeName() : u"";
}

rt::Ref<rt::Object> newList() { return rt::createInstance(jespin::IVValues::clsid); }

TEST_P(Protocol, ArgumentsArriveInOrderWithoutKeys) {
  execute({"x = 2.5", "Application.Cmd", "Application.Cmd 1, \"b\", x", "Application.Cmd()"});
  ASSERT_EQ(host->commands.size(), 3u) << rt::toUtf8(description());
  for (const Command& c : host->commands) {
    EXPECT_EQ(c.name, u"Cmd");
    EXPECT_EQ(c.callType, yarrick::SaMethod);
    EXPECT_FALSE(c.keyed);
  }
  EXPECT_TRUE(host->commands[0].args.empty());
  EXPECT_TRUE(host->commands[2].args.empty());
  const std::vector<rt::Variant>& args = host->commands[1].args;
  ASSERT_EQ(args.size(), 3u);
  EXPECT_EQ(args[0].integer(), 1);
  EXPECT_EQ(args[1].text(), u"b");
  EXPECT_EQ(args[2].dbl(), 2.5);
  EXPECT_EQ(number(), 0);
}

TEST_P(Protocol, AssignmentsSendTheirValue) {
  execute({"Set o = CreateObject(\"Jespin.VValues\")", "Set Application.X = o", "Application.X = 5",
           "Application.Name = \"n\""});
  ASSERT_EQ(host->commands.size(), 3u) << rt::toUtf8(description());
  EXPECT_EQ(host->commands[0].callType, yarrick::SaSet);
  ASSERT_EQ(host->commands[0].args.size(), 1u);
  EXPECT_TRUE(rt::queryRef<jespin::IVValues>(host->commands[0].args[0].object()));
  EXPECT_EQ(host->commands[1].callType, yarrick::SaLet);
  ASSERT_EQ(host->commands[1].args.size(), 1u);
  EXPECT_EQ(rt::toLong(host->commands[1].args[0]), 5);
  EXPECT_EQ(host->commands[2].args[0].text(), u"n");
}

TEST_P(Protocol, UnansweredCommands) {
  rt::Ref<zorbel::ScriptValue> cmd = face()->attr(u"Cmd");
  rt::Ref<zorbel::ScriptValue> called = cmd->funCall(nullptr, nullptr, zorbel::ModeValue);
  EXPECT_EQ(typeName(called), u"SvBoolean");
  EXPECT_TRUE(called->value().boolean());
  rt::Variant read = cmd->value();
  EXPECT_EQ(read.type(), rt::VT::Integer);
  EXPECT_EQ(read.integer(), 0);
  cmd->letValue(rt::Variant(int32_t{5}));
  EXPECT_EQ(rt::testing::errorOf([&] { cmd->subs(rt::Variant(int16_t{1}), zorbel::ModeValue); }),
            rt::err::ObjectRequired);
  EXPECT_EQ(names(host->commands), (std::vector<std::u16string>{u"Cmd", u"Cmd", u"Cmd", u"Cmd"}));
  EXPECT_EQ(host->commands[1].callType, yarrick::SaGet);
  EXPECT_EQ(host->commands[2].callType, yarrick::SaLet);
  EXPECT_EQ(host->commands[3].callType, yarrick::SaGet);
  EXPECT_FALSE(cmd->hasError());
}

TEST_P(Protocol, AnswersMakeTheirValues) {
  rt::Ref<rt::Object> obj = newList();
  rt::Ref<zorbel::ScriptValue> cmd = face()->attr(u"Cmd");
  auto call = [&](std::vector<rt::Variant> answers) {
    host->answers[u"Cmd"] = std::move(answers);
    return cmd->funCall(nullptr, nullptr, zorbel::ModeValue);
  };
  rt::Ref<zorbel::ScriptValue> text = call({rt::Variant(u"t")});
  EXPECT_EQ(typeName(text), u"SvVariant");
  EXPECT_EQ(text->value().text(), u"t");
  rt::Ref<zorbel::ScriptValue> held = call({rt::Variant(obj)});
  EXPECT_EQ(typeName(held), u"SvObject");
  EXPECT_EQ(held->value().object(), obj.get());
  rt::Ref<zorbel::ScriptValue> two = call({rt::Variant(u"a"), rt::Variant(obj)});
  EXPECT_EQ(typeName(two), u"SvCollection");
  ASSERT_EQ(two->count(), 2);
  EXPECT_EQ(two->subs(rt::Variant(int16_t{1}), zorbel::ModeValue)->value().text(), u"a");
  EXPECT_EQ(two->subs(rt::Variant(int16_t{2}), zorbel::ModeValue)->value().object(), obj.get());
  // A read answered with an object gives that very object.
  host->answers[u"Cmd"] = {rt::Variant(obj)};
  EXPECT_EQ(cmd->value().object(), obj.get());
}

TEST_P(Protocol, ObjectsAnsweredForMembersAreUsedInScripts) {
  rt::Ref<rt::Object> list = newList();
  host->answers[u"List"] = {rt::Variant(list)};
  execute({"Application.List.Add 7", "OutLine Application.Ver"});
  EXPECT_EQ(rt::queryRef<jespin::IVValues>(list.get())->count(), 1) << rt::toUtf8(description());
  EXPECT_EQ(host->output, (edition() == 1 ? u"Yarrick 1.0.0\r\n" : u"Trevane 1.0.0\r\n"));
}

TEST_P(Protocol, CommandValues) {
  rt::Ref<zorbel::ScriptValue> cmd = face()->attr(u"Anything");
  EXPECT_EQ(cmd->key(), u"");
  EXPECT_EQ(cmd->flag(), 5);
  EXPECT_EQ(cmd->count(), 0);
  EXPECT_EQ(cmd->attr(u"ver")->value().text(),
            edition() == 1 ? u"Yarrick 1.0.0" : u"Trevane 1.0.0");
  EXPECT_FALSE(cmd->attr(u"Other"));
  EXPECT_FALSE(cmd->objAttr(u"Ver"));
  EXPECT_EQ(cmd->error().sourceFull(), u"Yarrick.SvAppSubs.");
  EXPECT_TRUE(host->commands.empty());
}

TEST_P(Protocol, ApplicationFace) {
  rt::Ref<zorbel::ScriptValue> f = face();
  EXPECT_EQ(f->flag(), 16);
  EXPECT_EQ(f->value().text(), edition() == 1 ? u"Yarrick" : u"Trevane");
  f->letValue(rt::Variant(int32_t{5}));
  EXPECT_EQ(f->value().text(), u"5");
  f->setValue(rt::Variant(newList()));
  EXPECT_EQ(f->value().text(), u"5");
  EXPECT_FALSE(f->subs(rt::Variant(int16_t{1}), 1));
  EXPECT_FALSE(f->funCall(nullptr, nullptr, 1));
  EXPECT_EQ(app->error().sourceFull(), u"Yarrick.Application.");
  // An object the host does not answer with fails toward the engine.
  EXPECT_EQ(rt::testing::errorOf([&] { f->objAttr(u"Doc"); }), rt::err::ObjectRequired);
  rt::Ref<rt::Object> list = newList();
  host->answers[u"Doc"] = {rt::Variant(list)};
  EXPECT_EQ(f->objAttr(u"Doc")->value().object(), list.get());
}

TEST_P(Protocol, OutputIsSentForTextOnly) {
  execute({"OutPut \"\"", "OutPut \"a\"", "OutLine \"\""});
  EXPECT_EQ(host->output, u"a\r\n");
  EXPECT_TRUE(host->commands.empty());
}

TEST_P(Protocol, ACollectionAloneIsOneArgument) {
  execute({"Dim c As Collection", "c.Add 1", "c.Add 2", "Application.Cmd c"});
  ASSERT_EQ(host->commands.size(), 1u) << rt::toUtf8(description());
  ASSERT_EQ(host->commands[0].args.size(), 1u);
  EXPECT_TRUE(host->commands[0].args[0].isObject());
}

APP_TEST_EDITIONS(Protocol);

}  // namespace
}  // namespace apptest
