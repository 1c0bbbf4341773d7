// The function-library registry: FLGeneral, one built-in library, and
// IFunLibs, the libraries in the order the root asks them.
//
// A library knows its function names from a range of the engine's catalogue
// strings ("Len|description") and makes, for every lookup of one of them, a
// fresh object of its function class keyed with the name as the caller
// wrote it.  A class that cannot be made answers nothing, so the lookup
// goes on to the next library.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/libraryepoch.h"
#include "core/nameheads.h"
#include "core/strutil.h"
#include "kestrin/funlibs.h"
#include "rt/activation.h"
#include "rt/dispatch.h"
#include "rt/enumerator.h"
#include "zorbel/zorbel.h"

namespace engine {

class FLGeneral final : public rt::Automation<FLGeneral, zorbel::IFunLib, kestrin::IFLGeneral> {
 public:
  static const rt::MemberTable<FLGeneral>& members();

  std::u16string name() override { return name_; }
  void setName(std::u16string_view name) override { name_ = name; }
  rt::Ref<zorbel::ScriptValue> fun(std::u16string_view name) override;
  // fun for a name the catalogue is known to have.
  rt::Ref<zorbel::ScriptValue> make(std::u16string_view name) const;
  void initForRes(std::u16string_view fnClsName, int32_t startId, int32_t endId) override;

  // Whether the catalogue names `name`, without making a function object.
  bool hasFun(std::u16string_view name) const {
    return heads_.mayHave(name) && catalogue_.count(name) != 0;
  }
  // The short description of a function; "" when there is none.
  std::u16string_view description(std::u16string_view name) const;

 private:
  rt::Ref<zorbel::ScriptValue> create() const;

  std::u16string name_;
  std::u16string classId_;  // the ProgID of the function class
  // The engine's own class for it, found once; null: created by ProgID.
  rt::Ref<rt::Object> (*ownCreate_)() = nullptr;
  std::unordered_map<std::u16string, std::u16string, NoCaseHash, NoCaseEq> catalogue_;
  // Every name is asked of the libraries in turn, so most lookups are for
  // another library's names: this refuses most of them without hashing.
  NameHeads heads_;
};

class IFunLibs final : public rt::Automation<IFunLibs, kestrin::IFunLibList, rt::Enumerable> {
 public:
  static const rt::MemberTable<IFunLibs>& members();

  // A list made or gone changes what lookups find (another list may take
  // the place of one gone).
  IFunLibs() { librariesChanged(); }
  ~IFunLibs() override { librariesChanged(); }

  void clear() override;
  bool exist(std::u16string_view key) const override { return slotOf(key) >= 0; }
  bool addObj(zorbel::IFunLib* v, std::u16string_view libName) override;
  rt::Ref<zorbel::IFunLib> item(const rt::Variant& indexKey) override;
  int32_t count() const override { return static_cast<int32_t>(libs_.size()); }
  void remove(const rt::Variant& indexKey) override;
  rt::Ref<rt::Enumerator> enumerate() override;

  // The library at a position from 1, or null.
  zorbel::IFunLib* at(int32_t position) const {
    return position >= 1 && position <= count() ? libs_[position - 1].lib.get() : nullptr;
  }
  // The first library's function object for `name`, asking in order; null
  // when no library has it.  `from`, when given, is set to the library
  // that answered when it and every library asked before it are engine
  // libraries (FLGeneral, whose answers change only with libraryEpoch),
  // else to null.
  rt::Ref<zorbel::ScriptValue> findFun(std::u16string_view name,
                                       FLGeneral** from = nullptr) const;

 private:
  struct Entry {
    rt::Ref<zorbel::IFunLib> lib;
    std::u16string key;
    bool keyed = false;
  };
  ptrdiff_t slotOf(std::u16string_view key) const;

  std::vector<Entry> libs_;
};

// Adds the eight built-in libraries in their lookup order: Math, WinComm,
// Dir, MathStat, String, Date, System, cType.
void loadStandardLibs(IFunLibs& libs);

}  // namespace engine
