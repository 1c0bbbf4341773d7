// SvActiveX: any automation object used as a script value, by late binding.
//
// A root wrapper holds the object itself (CreateObject makes one when no
// typed class is configured for "Object").  A child stands for one member of
// the object behind another value: o.Name is a child of o with the member
// "Name", o.Item[i] a child with a parameter list.  A child keeps no copy of
// the member's value: every read, write and call goes to the object again,
// through its parent, when it happens.  A parameterised child of a root
// stands for the root object's default member.
//
// Every operation that calls the object clears the record first and traps
// its failure (Source: the operation's name); the caller tests the record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "rt/dispatch.h"
#include "zorbel/zorbel.h"

namespace engine {

class SvActiveX final : public rt::Automation<SvActiveX, zorbel::ScriptValue>,
                        public zorbel::ObjectMembers {
 public:
  static const rt::MemberTable<SvActiveX>& members();
  // A root wrapper also lets its object's members be used in place.
  void* query(const rt::Iid& id) noexcept override;

  SvActiveX() : err_(u"SvActiveX") {}

  // Makes this wrapper the child of `p` for member `n`.
  void initChild(zorbel::ScriptValue* p, std::u16string_view n);
  // The same with the parameters `svPm` (an argument value or list; null
  // for none) and the access mode `rf`: 2 answers every read with a new
  // root wrapper of the member's value.
  void initPmChild(zorbel::ScriptValue* p, std::u16string_view n, zorbel::ScriptValue* svPm,
                   int32_t rf);

  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  // The object's Count: the wrapped object's, or the parent's (the member
  // name of a child is not used).
  int32_t count() override;
  int32_t flag() override { return zorbel::FlagValue | zorbel::FlagCall; }
  // A root's object; a child's member, read now.
  rt::Variant value() override;
  // A root takes an object and ignores anything else; a child assigns its
  // member (property let).
  void letValue(const rt::Variant& v) override;
  // A root takes the object (anything else fails); a child assigns its
  // member by reference (property set).
  void setValue(const rt::Variant& v) override;
  // A new child for member `name`; nothing is called yet.
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  // A new child standing for this one's member with the parameters `index`
  // holds (the argument object).
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant& index, int32_t rf) override;
  // Calls the member as a method with the arguments of `sv`.  The result:
  // none for reFlag 0, a new value holder for 1, a new root wrapper for 2
  // (a result that is no object then fails).
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace* ss, zorbel::ScriptValue* sv,
                                       int32_t reFlag) override;
  // The member read now, as an object: a new root wrapper holding it.  So
  // o.A.B, Set x = o.A and With o.A work on the object A is at that moment.
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view name) override;
  jespin::IErrInfo& error() override { return err_.info(); }
  bool hasError() override { return err_.haveErr(); }

  // A root's member used as its child for the member would use it.
  rt::Variant readMember(std::u16string_view name, rt::MemberSite& site) override;
  Call callMember(std::u16string_view name, rt::MemberSite& site, zorbel::ScriptSpace* ss,
                  zorbel::ScriptValue* sv, const rt::Variant* plainArg, int32_t reFlag) override;
  rt::Ref<zorbel::ScriptValue> letMember(std::u16string_view name, rt::MemberSite& site,
                                         const rt::Variant& v) override;

 private:
  // The child for member `name` holding the failure `e` under `source`.
  rt::Ref<zorbel::ScriptValue> failedChild(std::u16string_view name, const rt::RuntimeError& e,
                                           std::u16string_view source);
  // The object the member belongs to: the parent's value, or a root's own
  // object.  Raises what fetching it fails with.
  rt::Ref<rt::Object> target();
  // Invokes the member (the default member when unnamed) with the
  // arguments of `params` and then `last`, if any; the target is fetched
  // before any argument is read.
  rt::Variant invokeMember(int kind, zorbel::ScriptValue* params,
                           const rt::Variant* last = nullptr);
  // Takes `v` as a root's object; raises 424 when it holds none.
  void hold(const rt::Variant& v);
  // Traps a failure of `step` under `source`; false when it failed.
  template <class F>
  bool attempt(std::u16string_view source, F&& step);

  ErrRecord err_;
  std::u16string key_;
  rt::Ref<rt::Object> wrapped_;
  rt::Ref<zorbel::ScriptValue> parent_;
  std::u16string member_;
  rt::Ref<zorbel::ScriptValue> params_;
  int32_t mode_ = 0;
};

// The argument values of a call's argument object, in order: none for null,
// each item's value for an argument list, else the one object's value.
std::vector<rt::Variant> argumentValues(zorbel::ScriptValue* sv);

}  // namespace engine
