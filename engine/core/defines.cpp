#include "core/defines.h"

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

bool hasPlaceholders(const ExpItems& macro) {
  size_t n;
  for (const ExpItem& ei : macro)
    if (placeholderNumber(ei, n)) return true;
  return false;
}

void trimBlanks(Tokens& arg) {
  while (!arg.empty() && arg.back().iType == tok::Blank) arg.pop_back();
  size_t lead = 0;
  while (lead < arg.size() && arg[lead].iType == tok::Blank) ++lead;
  arg.erase(arg.begin(), arg.begin() + static_cast<ptrdiff_t>(lead));
}

// Takes "(" arg {"," arg} ")" out of `items` at `open` (the "(").  Commas
// and brackets nested inside an argument belong to that argument.
std::vector<Tokens> takeArguments(Tokens& items, size_t open) {
  std::vector<Tokens> args(1);
  int depth = 0;
  size_t p = open + 1;
  for (;; ++p) {
    if (p >= items.size()) rt::raiseWith(errNumber(ErrBracket), resText(ErrBracket), u"DefReplace");
    const ExpItem& ei = items[p];
    if (ei.iType == tok::CloseParen && depth == 0) break;
    if (ei.iType == tok::Comma && depth == 0) {
      args.emplace_back();
      continue;
    }
    if (ei.iType == tok::OpenParen) ++depth;
    if (ei.iType == tok::CloseParen) --depth;
    args.back().push_back(ei);
  }
  auto at = [&items](size_t i) { return items.begin() + static_cast<ptrdiff_t>(i); };
  items.erase(at(open), at(p + 1));
  for (Tokens& a : args) trimBlanks(a);
  return args;
}

}  // namespace

void ExpItems::defReplace(int32_t idx, const ExpItems& macro) {
  remove(idx);
  if (macro.empty()) return;  // the name simply disappears
  size_t at = static_cast<size_t>(idx - 1);

  // Copies first: the macro may be this very list.
  Tokens body(macro.begin(), macro.end());
  Tokens inserted;
  size_t p = at;
  while (p < items_.size() && items_[p].iType == tok::Blank) ++p;  // the blanks stay
  if (hasPlaceholders(macro) && p < items_.size() && items_[p].iType == tok::OpenParen) {
    std::vector<Tokens> args = takeArguments(items_, p);
    for (const ExpItem& ei : body) {
      size_t n;
      if (!placeholderNumber(ei, n)) {
        inserted.push_back(ei);
      } else if (n >= 1 && n <= args.size()) {
        inserted.insert(inserted.end(), args[n - 1].begin(), args[n - 1].end());
      } else {
        inserted.push_back(ExpItem{tok::StringLit, rt::Variant(u"")});
      }
    }
  } else {
    inserted = std::move(body);
  }
  items_.insert(items_.begin() + static_cast<ptrdiff_t>(at), inserted.begin(), inserted.end());
}

int32_t expandOnce(ExpItems& items, const DefineLookup& find, int32_t from) {
  for (int32_t i = from; i <= items.count(); ++i) {
    const ExpItem& ei = items.item(i);
    if (ei.iType != tok::Name || !ei.iValue.isText()) continue;
    if (const ExpItems* macro = find(ei.iValue.text())) {
      items.defReplace(i, *macro);
      return i;
    }
  }
  return 0;
}

bool expandDefines(ExpItems& items, const DefineLookup& find) {
  // Everything before the last replaced position holds no macro any more,
  // so each search goes on from there.
  int32_t from = 1;
  for (int32_t step = 0;; ++step) {
    if (step == kMaxExpansions || items.count() > kMaxExpandedTokens) {
      items.error().setCode(ErrDirective, u"ExpandDefines");
      return false;
    }
    int32_t at = expandOnce(items, find, from);
    if (at == 0) return true;
    from = at;
  }
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
