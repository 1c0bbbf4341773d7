#include "core/textjoin.h"

#include "builtins/svgeneral.h"
#include "core/evalcore.h"
#include "rt/convert.h"
#include "rt/stack.h"
#include "rt/strings.h"

namespace engine {

namespace {

using eval::Side;

// An operand as "&" reads it: an object by its value (into `own`).
const rt::Variant& plainOf(const rt::Variant& v, rt::Variant& own) {
  if (!v.isObject()) return v;
  own = rt::valueOf(v);
  return own;
}

void appendPiece(std::u16string& to, const rt::Variant& piece) {
  if (piece.isNull()) return;
  if (!piece.isText()) {
    to += rt::toText(piece);  // a number's or a date's text: short
    return;
  }
  rt::ensureTextRoom(to.size(), piece.text().size());
  to += piece.text();
}

}  // namespace

bool TextJoin::joins(const expTree& node) {
  return node.opItem && node.opItem->iType == tok::Concat;
}

bool TextJoin::evaluate(expTree& node, zorbel::ScriptSpace& ss) {
  node.error().clear();
  try {
    rt::stack::check();
    return joinAt(node, ss);
  } catch (const rt::RuntimeError& e) {
    node.error().trap(e, eval::kGetValue);
    return false;
  }
}

// The steps of a binary operator: both sides, left first, each evaluated
// whatever the other gave, then both values read, left first.  The left
// side is the next "&" down, or the operand the chain starts with.
bool TextJoin::joinAt(expTree& n, zorbel::ScriptSpace& ss) {
  expTree* down = n.lTree.get();
  const bool chained = down && joins(*down);
  Operand l, r;
  bool ok;
  if (chained) {
    ok = evaluate(*down, ss);
    if (!ok) n.error().copy(down->error(), u"Get_LValue");
  } else {
    ok = eval::side(n, Side::Left, ss, zorbel::ModeValue, l);
  }
  ok = eval::side(n, Side::Right, ss, zorbel::ModeValue, r) && ok;
  if (!ok) return false;
  if ((!chained && l.absent()) || r.absent()) return eval::grammarError(n, eval::kGetValue);
  if (chained) {
    rt::Variant sb;
    add(r.read(sb));
  } else {
    const OperandValues v(l, r);
    start(v.left(), v.right());
  }
  return true;
}

// Both operands become plain values before either becomes text.
void TextJoin::start(const rt::Variant& a, const rt::Variant& b) {
  rt::Variant ownA, ownB;
  const rt::Variant& pa = plainOf(a, ownA);
  const rt::Variant& pb = plainOf(b, ownB);
  tail_.clear();
  null_ = pa.isNull() && pb.isNull();
  if (null_) {
    head_.clear();
    return;
  }
  head_ = pa.isText() ? pa : rt::Variant(pa.isNull() ? std::u16string() : rt::toText(pa));
  appendPiece(tail_, pb);
}

void TextJoin::add(const rt::Variant& b) {
  rt::Variant ownB;
  const rt::Variant& pb = plainOf(b, ownB);
  if (null_) {
    if (pb.isNull()) return;
    null_ = false;
    head_ = rt::Variant(std::u16string());
  }
  appendPiece(tail_, pb);
}

rt::Variant TextJoin::result() const {
  if (null_) return rt::Null{};
  if (tail_.empty()) return head_;
  rt::ensureTextRoom(head_.text().size(), tail_.size());
  std::u16string s;
  s.reserve(head_.text().size() + tail_.size());
  s.append(head_.text()).append(tail_);
  return rt::Variant(std::move(s));
}

bool TextJoin::appendTo(SvGeneral& target) {
  if (null_ || !target.holdsText(head_)) return false;
  head_.clear();  // the target is the text's only holder again, unless it has others
  target.appendText(tail_);
  return true;
}

}  // namespace engine
