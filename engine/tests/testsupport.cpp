#include "testsupport.h"

#include "builtins/svuserfun.h"
#include "core/scriptcompile.h"
#include "core/tables.h"
#include "rt/convert.h"
#include "rt/locale.h"
#include "rt/text.h"
#include <gtest/gtest.h>

namespace enginetest {

namespace {

// Literals print through the locale: pin it for every test.
class PinnedLocale : public ::testing::Environment {
 public:
  void SetUp() override { rt::setLocale(rt::LocaleId::EnglishUS); }
};

const auto* const kPinned = ::testing::AddGlobalTestEnvironment(new PinnedLocale);

std::string itemText(const engine::ExpItem& ei) {
  std::string value = utf8(rt::toText(ei.iValue));
  switch (ei.iType) {
    case engine::tok::Name: return value;
    case engine::tok::StringLit: return "\"" + value + "\"";
    case engine::tok::IntegerLit: return "i" + value;
    case engine::tok::FloatLit: return "f" + value;
    case engine::tok::DateLit: return "d" + value;
    case engine::tok::Blank:
      if (ei.iValue.isEmpty()) return "_";
      [[fallthrough]];
    default:
      // Keywords and operators read from a stream carry no text.
      return "{" + (value.empty() ? utf8(engine::codeToText(ei.iType)) : value) + "}";
  }
}

std::string side(const std::unique_ptr<engine::expTree>& t, const std::optional<engine::ExpItem>& i) {
  if (t) return shape(*t);
  if (i) return itemText(*i);
  return "-";
}

}  // namespace

std::string utf8(std::u16string_view s) { return rt::toUtf8(s); }

rt::Ref<engine::ExpItems> tokens(std::u16string_view line) {
  rt::Ref<engine::ExpItems> items = rt::make<engine::ExpItems>();
  items->init(line);
  return items;
}

std::string dump(const engine::ExpItems& items) {
  std::string s;
  for (const engine::ExpItem& ei : items) {
    if (!s.empty()) s += ' ';
    s += itemText(ei);
  }
  return s;
}

std::string shape(const engine::expTree& t) {
  // A keyword or operator that absorbed the blank before it keeps it in
  // its text; the shape shows the word alone.
  std::string op = t.opItem ? itemText(*t.opItem) : "{NoOp}";
  op = op.substr(op.find_first_not_of("{ "), std::string::npos);
  op.pop_back();
  return "(" + op + " " + side(t.lTree, t.lItem) + " " + side(t.rTree, t.rItem) + ")";
}

std::vector<std::string> records(nubrel::VStream& vs) {
  std::vector<std::string> out;
  auto lineText = [](const engine::ExpItems& l) {
    return std::to_string(l.sptModeLine) + ": " + dump(l);
  };
  for (int guard = 0; guard < 10000; ++guard) {
    int32_t kind = vs.vLong();
    if (kind == 0) {
      out.push_back("#" + utf8(vs.vString()));
    } else if (kind == 1) {
      rt::Ref<engine::ExpItems> l = rt::make<engine::ExpItems>();
      l->readStream(vs);
      out.push_back(lineText(*l));
    } else if (kind == 2) {
      auto f = rt::make<engine::SvUserFun>();
      f->readStream(vs);
      std::string head = "fun " + utf8(f->name()) + "(";
      for (size_t i = 0; i < f->params().size(); ++i) head += (i ? "," : "") + utf8(f->params()[i]);
      out.push_back(head + ")");
      for (const rt::Ref<engine::ExpItems>& l : f->lines()) out.push_back("  " + lineText(*l));
    } else {
      out.push_back(kind == -1 ? "end" : "kind " + std::to_string(kind));
      break;
    }
  }
  return out;
}

rt::Ref<nubrel::IMemStream> scriptStream(std::u16string_view source) {
  auto compiler = rt::make<engine::ScriptCompile>();
  rt::Ref<nubrel::IMemStream> ms = memStream();
  compiler->compile(source, *ms);
  EXPECT_FALSE(compiler->error().haveErr()) << utf8(compiler->error().description());
  ms->setDir(nubrel::InStream);
  return ms;
}

std::vector<std::string> compiled(std::u16string_view source) { return records(*scriptStream(source)); }

rt::Ref<nubrel::IMemStream> memStream() {
  return rt::queryRef<nubrel::IMemStream>(rt::createInstance(nubrel::IMemStream::clsid).get());
}

}  // namespace enginetest
