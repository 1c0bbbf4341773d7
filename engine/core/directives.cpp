// The hosts' directives: "#define name = text", "#deftype type = ProgID",
// "#include anything".  The keyword follows the "#" directly and is read
// without regard to case.
#include <algorithm>
#include <utility>

#include "core/streamhost.h"
#include "rt/text.h"

namespace engine {

namespace {

std::u16string_view trimBlanks(std::u16string_view s) {
  size_t b = s.find_first_not_of(u' ');
  if (b == s.npos) return {};
  return s.substr(b, s.find_last_not_of(u' ') - b + 1);
}

// "name = text": both sides trimmed; no "=" gives an empty text.
std::pair<std::u16string_view, std::u16string_view> splitAtEquals(std::u16string_view s) {
  size_t eq = s.find(u'=');
  if (eq == s.npos) return {trimBlanks(s), {}};
  return {trimBlanks(s.substr(0, eq)), trimBlanks(s.substr(eq + 1))};
}

}  // namespace

bool StreamHost::preExecLine(std::u16string_view text) {
  if (text.empty()) return true;
  std::u16string line(text);
  std::replace(line.begin(), line.end(), u'\t', u' ');
  const size_t blank = line.find(u' ');
  std::u16string_view all(line);
  std::u16string_view keyword = all.substr(0, blank);
  std::u16string_view rest = blank == all.npos ? std::u16string_view() : all.substr(blank + 1);

  if (rt::equalsNoCase(keyword, u"define")) {
    auto [name, replacement] = splitAtEquals(rest);
    return define(name, replacement);
  }
  if (rt::equalsNoCase(keyword, u"deftype")) {
    auto [type, progId] = splitAtEquals(rest);
    defType(type, progId);
    return true;
  }
  if (rt::equalsNoCase(keyword, u"include")) {
    raiseIncludeFile(std::u16string(trimBlanks(rest)));
    return true;
  }
  raiseCode(ErrDirective, u"PreExecLine");
}

// A replacement that does not tokenize is not defined: its error ends the
// run like any other.
bool StreamHost::define(std::u16string_view name, std::u16string_view replacement) {
  if (!defines_) rt::raise(rt::err::ObjectNotSet);
  rt::Ref<ExpItems> tokens = rt::make<ExpItems>();
  if (tokens->init(replacement)) {
    error_.copy(tokens->error(), u"PreExecLine");
    error_.copy(error_, u"ExecStream");
    return false;
  }
  const rt::Variant list(static_cast<rt::Object*>(tokens.get()));
  if (defines_->exist(name)) defines_->item(rt::Variant(name))->setValue(tokens.get());
  else defines_->add(list, std::u16string(name));
  return true;
}

// Into the type map the top-level space sees: the root's.
void StreamHost::defType(std::u16string_view typeName, std::u16string_view progId) {
  if (!space_) rt::raise(rt::err::ObjectNotSet);
  rt::Ref<jespin::IVValues> types = space_->typeDefs();
  if (types->exist(typeName)) types->item(rt::Variant(typeName))->letValue(rt::Variant(progId));
  else types->add(rt::Variant(progId), std::u16string(typeName));
}

}  // namespace engine
