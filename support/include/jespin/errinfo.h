// The error record of the whole system, as other libraries see it.
//
// Every object that reports failures without raising owns one record and
// hands it out as its `Error`.  An operation clears the record on entry and,
// on failure, either records an own error or copies a trapped one with
// `readSysErr`, which puts the operation's name in front of the inner source
// (joined by CR LF), so a chain of callers reads outermost first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rt/activation.h"
#include "rt/object.h"

namespace jespin {

class IErrInfo : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Jespin.IErrInfo");
  static constexpr rt::Guid clsid = rt::classIdOf("Jespin.ErrInfo");

  // Number 0, Source and Description empty; the owner fields stay.
  virtual void clear() = 0;
  // Copies Number, Source and Description of an error object, read by name
  // (the runtime's error object, or another record).  With a non-empty
  // `fnName` the source becomes fnName, CR LF, the object's source.
  virtual void readSysErr(rt::Object* errObj, std::u16string_view fnName = {}) = 0;
  // The same steps for an error already at hand.
  virtual void readError(int32_t number, std::u16string_view source,
                         std::u16string_view description, std::u16string_view fnName = {}) = 0;
  virtual bool haveErr() const = 0;
  virtual int32_t number() const = 0;
  virtual void setNumber(int32_t n) = 0;
  virtual std::u16string description() const = 0;
  virtual void setDescription(std::u16string_view d) = 0;
  // The stored source with the owner in front ("App.Mod.source"), each part
  // with its dot only when it is not empty.
  virtual std::u16string source() const = 0;
  virtual void setSource(std::u16string_view s) = 0;
  // App.Mod.source, always with both dots.
  virtual std::u16string sourceFull() const = 0;
  virtual std::u16string parentApp() const = 0;
  virtual void setParentApp(std::u16string_view s) = 0;
  virtual std::u16string parentMod() const = 0;
  virtual void setParentMod(std::u16string_view s) = 0;
};

// A new record owned by `app`.`mod`, created through the class ID.
inline rt::Ref<IErrInfo> newErrInfo(std::u16string_view app = {}, std::u16string_view mod = {}) {
  rt::Ref<IErrInfo> e = rt::queryRef<IErrInfo>(rt::createInstance(IErrInfo::clsid).get());
  e->setParentApp(app);
  e->setParentMod(mod);
  return e;
}

// The record an object owns, made when it is first needed: most objects
// never fail, and making a record is a creation through the class ID.  Until
// then the record reads as empty.  The owner names itself (`app`.`mod`)
// when the record is made; `mod` is kept as a view and must outlive the
// record (a literal).
class LazyErrInfo {
 public:
  explicit LazyErrInfo(std::u16string_view mod) : mod_(mod) {}
  LazyErrInfo(const LazyErrInfo&) = delete;
  LazyErrInfo& operator=(const LazyErrInfo&) = delete;

  IErrInfo& get(std::u16string_view app) {
    if (!rec_) rec_ = newErrInfo(app, mod_);
    return *rec_;
  }
  bool haveErr() const { return rec_ && rec_->haveErr(); }
  void clear() {
    if (rec_) rec_->clear();
  }
  // Whether the record has been made (by a failure, or by asking for it).
  bool made() const { return rec_ != nullptr; }
  // Lets go of the record, as a new object has none.
  void forget() { rec_ = nullptr; }

 private:
  std::u16string_view mod_;
  rt::Ref<IErrInfo> rec_;
};

}  // namespace jespin
