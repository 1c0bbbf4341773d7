#include "apptest.h"

#include "rt/activation.h"
#include "rt/text.h"

namespace apptest {

const std::vector<int> kEditions = {1, 2};

rt::Ref<yarrick::IApplication> newApplication(int edition) {
  rt::Ref<yarrick::IApplication> app = rt::queryRef<yarrick::IApplication>(
      rt::createObject(edition == 1 ? u"Yarrick.Application" : u"Trevane.Application").get());
  if (!app) throw std::runtime_error("no IApplication");
  return app;
}

void RecordingHost::sptCommand(const std::u16string& commName, int32_t callType,
                               jespin::IVValues& commParam, jespin::IVValues& commReturn) {
  Command c{commName, callType, {}, false};
  for (int32_t i = 1; i <= commParam.count(); ++i) {
    rt::Ref<jespin::IVValue> item = commParam.item(rt::Variant(i));
    c.args.push_back(item->value());
    c.keyed = c.keyed || !item->key().empty();
  }
  if (commName == u"Output") {
    for (const rt::Variant& a : c.args) output += a.text();
  } else {
    commands.push_back(c);
  }
  if (onCommand) onCommand(c);
  if (auto it = answers.find(commName); it != answers.end())
    for (const rt::Variant& a : it->second) commReturn.add(a);
}

AppTest::AppTest() : app(newApplication(GetParam())), host(rt::make<RecordingHost>()) {
  app->advise(host);
  app->setSptPath(dir.dir());
}

rt::Ref<zorbel::ScriptValue> AppTest::face() {
  return rt::queryRef<zorbel::ScriptValue>(app.get());
}

void AppTest::write(const std::string& name, const std::vector<std::string>& lines) const {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  dir.write(name, text);
}

void AppTest::execute(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += (text.empty() ? "" : "\r\n") + l;
  app->execute(rt::fromUtf8(text));
}

void AppTest::execFile(const std::string& name, const std::vector<std::string>& lines) {
  write(name, lines);
  app->execFile(rt::fromUtf8(name));
}

int32_t AppTest::number() { return app->error().number(); }
std::u16string AppTest::description() { return app->error().description(); }
std::u16string AppTest::sourceFull() { return app->error().sourceFull(); }

std::vector<std::u16string> names(const std::vector<Command>& commands) {
  std::vector<std::u16string> out;
  for (const Command& c : commands) out.push_back(c.name);
  return out;
}

}  // namespace apptest
