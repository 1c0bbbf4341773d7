#include "rt/errobject.h"

#include "rt/dispatch.h"

namespace rt {

namespace {

class ErrObject final : public Automation<ErrObject> {
 public:
  explicit ErrObject(const RuntimeError& e)
      : number_(e.number()), source_(e.source()), description_(e.description()) {}

  static const MemberTable<ErrObject>& members() {
    static const auto table = MemberTable<ErrObject>(u"ErrObject")
                                  .get(u"Number", [](ErrObject& e) { return e.number_; })
                                  .byDefault()
                                  .get(u"Source", [](ErrObject& e) { return e.source_; })
                                  .get(u"Description", [](ErrObject& e) { return e.description_; });
    return table;
  }

 private:
  int32_t number_;
  std::u16string source_;
  std::u16string description_;
};

}  // namespace

Ref<Object> errorObject(const RuntimeError& e) { return make<ErrObject>(e); }

}  // namespace rt
