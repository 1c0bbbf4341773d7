#include "core/directives.h"

#include <algorithm>
#include <utility>

#include "core/expitems.h"
#include "core/sourcetext.h"
#include "rt/text.h"

namespace engine {

namespace {

// "name = text": both sides trimmed; no "=" gives an empty text.
std::pair<std::u16string_view, std::u16string_view> splitAtEquals(std::u16string_view s) {
  size_t eq = s.find(u'=');
  if (eq == s.npos) return {trimBlanks(s), {}};
  return {trimBlanks(s.substr(0, eq)), trimBlanks(s.substr(eq + 1))};
}

void store(jespin::IVValues& defines, std::u16string_view name, ExpItems* tokens) {
  if (defines.exist(name)) defines.item(rt::Variant(name))->setValue(tokens);
  else defines.add(rt::Variant(static_cast<rt::Object*>(tokens)), std::u16string(name));
}

// A replacement that does not tokenize is not defined: its error ends the
// run like any other.
bool define(std::u16string_view name, std::u16string_view replacement,
            const DirectiveTarget& target) {
  if (!target.defines) rt::raise(rt::err::ObjectNotSet);
  rt::Ref<ExpItems> tokens = rt::make<ExpItems>();
  if (tokens->init(replacement)) {
    ErrRecord& error = *target.error;
    error.copy(tokens->error(), u"PreExecLine");
    error.copy(error, target.operation);
    return false;
  }
  store(*target.defines, name, tokens.get());
  return true;
}

// Into the type map the top-level space sees: the root's.
void defType(std::u16string_view typeName, std::u16string_view progId,
             const DirectiveTarget& target) {
  if (!target.space) rt::raise(rt::err::ObjectNotSet);
  rt::Ref<jespin::IVValues> types = target.space->typeDefs();
  if (types->exist(typeName)) types->item(rt::Variant(typeName))->letValue(rt::Variant(progId));
  else types->add(rt::Variant(progId), std::u16string(typeName));
}

// The keyword of a directive and the text after the blank that ends it,
// in `line`, the directive with its tabs made blanks.
std::pair<std::u16string_view, std::u16string_view> keywordOf(std::u16string& line) {
  std::replace(line.begin(), line.end(), u'\t', u' ');
  const size_t blank = line.find(u' ');
  std::u16string_view all(line);
  return {all.substr(0, blank), blank == all.npos ? std::u16string_view() : all.substr(blank + 1)};
}

}  // namespace

bool runDirective(std::u16string_view text, const DirectiveTarget& target) {
  if (text.empty()) return true;
  std::u16string line(text);
  auto [keyword, rest] = keywordOf(line);

  if (rt::equalsNoCase(keyword, u"define")) {
    auto [name, replacement] = splitAtEquals(rest);
    return define(name, replacement, target);
  }
  if (rt::equalsNoCase(keyword, u"deftype")) {
    auto [type, progId] = splitAtEquals(rest);
    defType(type, progId, target);
    return true;
  }
  if (rt::equalsNoCase(keyword, u"include")) {
    target.include(std::u16string(trimBlanks(rest)));
    return true;
  }
  raiseCode(ErrDirective, u"PreExecLine");
}

std::optional<std::u16string> followDefine(std::u16string_view text, jespin::IVValues& defines) {
  std::u16string line(text);
  auto [keyword, rest] = keywordOf(line);
  if (!rt::equalsNoCase(keyword, u"define")) return std::nullopt;
  auto [name, replacement] = splitAtEquals(rest);
  rt::Ref<ExpItems> tokens = rt::make<ExpItems>();
  if (tokens->init(replacement)) return std::nullopt;
  store(defines, name, tokens.get());
  return std::u16string(name);
}

}  // namespace engine
