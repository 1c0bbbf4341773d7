#include "core/defines.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "rt/error.h"

namespace engine {

namespace {

using Tokens = std::vector<ExpItem>;

// A placeholder is a name "_" followed by the argument's number.  Any other
// name that starts with "_" is an ordinary name.
bool placeholderNumber(const ExpItem& ei, size_t& n) {
  if (ei.iType != tok::Name || !ei.iValue.isText()) return false;
  const std::u16string& t = ei.iValue.text();
  if (t.size() < 2 || t.size() > 10 || t[0] != u'_') return false;
  n = 0;
  for (size_t i = 1; i < t.size(); ++i) {
    if (t[i] < u'0' || t[i] > u'9') return false;
    n = n * 10 + (t[i] - u'0');
  }
  return true;
}

bool hasPlaceholders(const Tokens& body) {
  size_t n;
  for (const ExpItem& ei : body)
    if (placeholderNumber(ei, n)) return true;
  return false;
}

void trimBlanks(Tokens& arg) {
  while (!arg.empty() && arg.back().iType == tok::Blank) arg.pop_back();
  size_t lead = 0;
  while (lead < arg.size() && arg[lead].iType == tok::Blank) ++lead;
  arg.erase(arg.begin(), arg.begin() + static_cast<ptrdiff_t>(lead));
}

// The tokens still to scan, the first one last: the front of the line can
// then be taken off and replaced without moving the rest.
using Pending = std::vector<ExpItem>;

// Takes "(" arg {"," arg} ")" off `pending`, whose "(" is at `open`.
// Commas and brackets nested inside an argument belong to that argument.
std::vector<Tokens> takeArguments(Pending& pending, size_t open) {
  std::vector<Tokens> args(1);
  int depth = 0;
  size_t p = open;
  for (;;) {
    if (p == 0) rt::raiseWith(errNumber(ErrBracket), resText(ErrBracket), u"DefReplace");
    const ExpItem& ei = pending[--p];
    if (ei.iType == tok::CloseParen && depth == 0) break;
    if (ei.iType == tok::Comma && depth == 0) {
      args.emplace_back();
      continue;
    }
    if (ei.iType == tok::OpenParen) ++depth;
    if (ei.iType == tok::CloseParen) --depth;
    args.back().push_back(ei);
  }
  auto at = [&pending](size_t i) { return pending.begin() + static_cast<ptrdiff_t>(i); };
  pending.erase(at(p), at(open + 1));
  for (Tokens& a : args) trimBlanks(a);
  return args;
}

// The body with each placeholder replaced by its argument; a placeholder
// beyond the arguments given becomes an empty string.
Tokens instantiate(const Tokens& body, const std::vector<Tokens>& args) {
  Tokens out;
  for (const ExpItem& ei : body) {
    size_t n;
    if (!placeholderNumber(ei, n)) out.push_back(ei);
    else if (n >= 1 && n <= args.size()) out.insert(out.end(), args[n - 1].begin(), args[n - 1].end());
    else out.push_back(ExpItem{tok::StringLit, rt::Variant(u"")});
  }
  return out;
}

// Replaces the macro name at the front of `pending` with the macro's tokens
// (`body`, a copy), taking the argument list that follows the name when the
// macro has placeholders.  Blanks between the name and "(" stay, after the
// replacement.
void replaceFront(Pending& pending, const Tokens& body) {
  pending.pop_back();
  if (body.empty()) return;  // the name simply disappears
  size_t p = pending.size();
  while (p > 0 && pending[p - 1].iType == tok::Blank) --p;
  bool hasArguments = hasPlaceholders(body) && p > 0 && pending[p - 1].iType == tok::OpenParen;
  Tokens inserted = hasArguments ? instantiate(body, takeArguments(pending, p - 1)) : body;
  pending.insert(pending.end(), inserted.rbegin(), inserted.rend());
}

bool isName(const ExpItem& ei) { return ei.iType == tok::Name && ei.iValue.isText(); }

}  // namespace

void ExpItems::defReplace(int32_t idx, const ExpItems& macro) {
  item(idx);  // the position must exist
  Tokens body(macro.begin(), macro.end());  // first: the macro may be this very list
  auto split = items_.begin() + (idx - 1);
  Pending pending(items_.rbegin(), std::make_reverse_iterator(split));
  items_.erase(split, items_.end());
  replaceFront(pending, body);
  items_.insert(items_.end(), pending.rbegin(), pending.rend());
}

bool namesMacro(const ExpItems& items, const DefineLookup& find) {
  return std::any_of(items.begin(), items.end(),
                     [&find](const ExpItem& ei) { return isName(ei) && find(ei.iValue.text()); });
}

int32_t expandOnce(ExpItems& items, const DefineLookup& find, int32_t from) {
  for (int32_t i = from; i <= items.count(); ++i) {
    const ExpItem& ei = items.item(i);
    if (!isName(ei)) continue;
    if (const ExpItems* macro = find(ei.iValue.text())) {
      items.defReplace(i, *macro);
      return i;
    }
  }
  return 0;
}

bool expandDefines(ExpItems& items, const DefineLookup& find) {
  // One pass: a replacement goes back in front of the input, so macros
  // inside it are expanded in turn.
  Pending pending(items.tokens().rbegin(), items.tokens().rend());
  Tokens out;
  bool ended = true;
  for (int32_t steps = 0; !pending.empty();) {
    const ExpItem& next = pending.back();
    const ExpItems* macro = isName(next) ? find(next.iValue.text()) : nullptr;
    if (!macro) {
      out.push_back(std::move(pending.back()));
      pending.pop_back();
      continue;
    }
    if (steps++ == kMaxExpansions || out.size() + pending.size() > kMaxExpandedTokens) {
      ended = false;
      break;
    }
    replaceFront(pending, Tokens(macro->begin(), macro->end()));
  }
  out.insert(out.end(), pending.rbegin(), pending.rend());
  items.tokens() = std::move(out);
  if (!ended) items.error().setCode(ErrDirective, u"ExpandDefines");
  return ended;
}

DefineLookup definesOf(jespin::IVValues& defines) {
  return [&defines](std::u16string_view name) -> const ExpItems* {
    if (!defines.exist(name)) return nullptr;
    rt::Variant v = defines.item(rt::Variant(name))->value();
    if (!v.isObject() || !v.object()) return nullptr;
    return static_cast<ExpItems*>(v.object()->query(ExpItems::iid));
  };
}

}  // namespace engine
