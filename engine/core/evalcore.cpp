#include "core/evalcore.h"

#include "builtins/svcreate.h"
#include "builtins/svgeneral.h"
#include "builtins/svsingle.h"
#include "jespin/stack.h"
#include "rt/ops.h"
#include "rt/text.h"

namespace engine {

rt::Ref<zorbel::ScriptValue> Operand::toObject() const {
  if (member_) return obj_->attr(member_->name);
  if (obj_) return obj_;
  if (plain_) return SvSingle::of(*plain_);
  return nullptr;
}

rt::Variant Operand::memberValue() const {
  return access_->readMember(member_->name, member_->site);
}

rt::Ref<zorbel::ScriptValue> Operand::requireObject() const {
  if (absent()) rt::raise(rt::err::ObjectNotSet);
  return toObject();
}

namespace eval {

namespace {

const std::optional<ExpItem>& itemOf(const expTree& n, Side s) {
  return s == Side::Left ? n.lItem : n.rItem;
}

NameCache& cacheOf(expTree& n, Side s) { return n.names[s == Side::Left ? 0 : 1]; }

// The value the innermost With block works on.
rt::Ref<zorbel::ScriptValue> withTarget(jespin::IVStack& with) {
  rt::Variant top = with.item(rt::Variant(with.count()))->value();
  rt::Ref<zorbel::ScriptValue> v;
  if (top.isObject()) v = rt::queryRef<zorbel::ScriptValue>(top.object());
  if (!v) rt::raise(rt::err::ObjectRequired);
  return v;
}

// What a member is asked of: a general value that holds an object (a For
// Each element, a collection item, x = obj) stands for that object, whose
// members are the ones meant, not attributes of its own; an object that is
// no script value is wrapped as CreateObject wraps one.
rt::Ref<zorbel::ScriptValue> objectBehind(zorbel::ScriptSpace& ss,
                                          rt::Ref<zorbel::ScriptValue> target) {
  SvGeneral* var = directOf(target.get()).variable;
  if (!var || (var->flag() & zorbel::FlagList)) return target;
  const rt::Variant& held = var->held();
  if (!held.isObject() || held.isNothing()) return target;
  if (rt::Ref<zorbel::ScriptValue> sv = rt::queryRef<zorbel::ScriptValue>(held.object())) return sv;
  return objectHolder(&ss, held.object());
}

}  // namespace

bool side(expTree& node, Side s, zorbel::ScriptSpace& ss, int32_t rf, Operand& out) {
  if (expTree* tree = (s == Side::Left ? node.lTree : node.rTree).get()) {
    tree->evaluate(ss, rf, out);
    if (!tree->error().haveErr()) return true;
    node.error().copy(tree->error(), s == Side::Left ? u"Get_LValue" : u"Get_RValue");
    return false;
  }
  const std::optional<ExpItem>& item = itemOf(node, s);
  if (!item) out.reset();
  else if (item->iType == tok::Name) resolve(ss, item->name(), cacheOf(node, s), out);
  else out.setLiteral(item->iValue);
  return true;
}

bool runSide(expTree& node, Side s, zorbel::ScriptSpace& ss) {
  const std::u16string_view where = s == Side::Left ? u"L_Run" : u"R_Run";
  if (expTree* tree = (s == Side::Left ? node.lTree : node.rTree).get()) {
    tree->operation(ss);
    if (!tree->error().haveErr()) return true;
    node.error().copy(tree->error(), where);
    return false;
  }
  const std::optional<ExpItem>& item = itemOf(node, s);
  if (!item || item->iType != tok::Name) return true;  // a literal does nothing
  Operand named;
  resolve(ss, item->name(), cacheOf(node, s), named);
  zorbel::ScriptValue* v = named.object();
  if (!v || !(v->flag() & zorbel::FlagCall)) return true;
  v->funCall(&ss, nullptr, zorbel::ModeStatement);
  return calleeOk(node, *v, where);
}

bool grammarError(expTree& node, std::u16string_view where, std::u16string_view detail) {
  std::u16string text = resText(ErrGrammar);
  text += u"\r\n";
  if (where == kGetValue) {
    text += detail;
    text += u"\r\n";
  }
  text += node.toString();
  jespin::IErrInfo& rec = node.error().info();
  rec.setNumber(errNumber(ErrGrammar));
  rec.setDescription(text);
  rec.setSource(where);
  return false;
}

bool calleeOk(expTree& node, zorbel::ScriptValue& callee, std::u16string_view where) {
  if (!callee.hasError()) return true;
  node.error().copy(callee.error(), where);
  return false;
}

bool assign(expTree& node, const Operand& target, rt::Variant v, std::u16string_view where) {
  if (SvGeneral* var = target.variable()) {
    var->assign(std::move(v));
    return true;  // it records nothing
  }
  if (target.isMember()) {
    MemberUse& m = target.member();
    rt::Ref<zorbel::ScriptValue> failed = target.access().letMember(m.name, m.site, v);
    if (!failed) return true;
    node.error().copy(failed->error(), where);
    return false;
  }
  zorbel::ScriptValue* obj = target.object();
  if (!obj) {
    if (!target.isPlain()) rt::raise(rt::err::ObjectNotSet);
    return true;
  }
  obj->letValue(v);
  return calleeOk(node, *obj, where);
}

rt::Variant stepped(const rt::Variant& v, int32_t op) {
  const rt::Variant one(int16_t{1});
  return op == tok::Increment ? rt::opAdd(v, one) : rt::opSub(v, one);
}

bool member(expTree& node, zorbel::ScriptSpace& ss, int32_t rf, Operand& out,
            std::u16string_view where) {
  Operand left;
  if (!side(node, Side::Left, ss, zorbel::ModeObject, left)) return false;
  rt::Ref<zorbel::ScriptValue> target = left.toObject();
  if (!target) {
    rt::Ref<jespin::IVStack> with = ss.withStack();
    if (!with || with->count() == 0) return grammarError(node, where, u"园点符(.)左边变量为空。");
    target = withTarget(*with);
  }
  if (node.rTree || !node.rItem || node.rItem->iType != tok::Name) return grammarError(node, where);
  std::u16string_view name = node.rItem->name();
  // A member of an automation object is used in place: nothing is made for
  // it until it is handed out.  The object's record is left as it is, since
  // attr() of such an object records nothing.  (Such a value is no list.)
  auto* access = static_cast<zorbel::ObjectMembers*>(target->query(zorbel::ObjectMembers::iid));
  if (!access) {
    target = objectBehind(ss, std::move(target));
    access = static_cast<zorbel::ObjectMembers*>(target->query(zorbel::ObjectMembers::iid));
  }
  if (access && rf != zorbel::ModeObject) {
    node.memberUse.name = name;
    out.setMember(std::move(target), *access, node.memberUse);
    return true;
  }
  if ((target->flag() & zorbel::FlagList) && rt::equalsNoCase(name, u"Count")) {
    out.setPlain(rt::Variant(target->count()));
    return true;
  }
  rt::Ref<zorbel::ScriptValue> m =
      rf == zorbel::ModeObject ? target->objAttr(name) : target->attr(name);
  if (!calleeOk(node, *target, where)) return false;
  out.setObject(std::move(m));
  return true;
}

bool callMember(expTree& node, const Operand& m, zorbel::ScriptSpace& ss, const Operand* args,
                int32_t rf, std::u16string_view where, Operand* out) {
  // A plain argument is handed over as it is; anything else as the object
  // a call would be given.
  rt::Variant scratch;
  const rt::Variant* plain = nullptr;
  rt::Ref<zorbel::ScriptValue> sv;
  if (args && args->isPlain()) plain = &args->read(scratch);
  else if (args) sv = args->toObject();
  MemberUse& use = m.member();
  zorbel::ObjectMembers::Call c = m.access().callMember(use.name, use.site, &ss, sv.get(), plain, rf);
  if (c.failed) {
    node.error().copy(c.failed->error(), where);
    return false;
  }
  if (!out) return true;
  if (c.isPlain) out->setPlain(std::move(c.plain));
  else out->setObject(std::move(c.holder));
  return true;
}

}  // namespace eval
}  // namespace engine
