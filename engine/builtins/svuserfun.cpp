#include "builtins/svuserfun.h"

#include "core/ssbody.h"
#include "rt/convert.h"
#include "rt/error.h"
#include "rt/text.h"

namespace engine {

namespace {

void requireMore(nubrel::VStream& vs) {
  if (vs.eof()) rt::raise(rt::err::PastEndOfFile);
}

[[noreturn]] void badHeader() { raiseCode(ErrFunctionHeader, qualifiedSource(u"SvUserFun.FirstLine")); }

}  // namespace

const rt::MemberTable<SvUserFun>& SvUserFun::members() {
  using VS = rt::Ref<nubrel::VStream>;
  static const auto table =
      rt::MemberTable<SvUserFun>(u"SvUserFun")
          .method(u"WriteStream",
                  [](SvUserFun& f, VS vs) {
                    if (!vs) rt::raise(rt::err::ObjectNotSet);
                    f.writeStream(*vs);
                  })
          .method(u"ReadStream",
                  [](SvUserFun& f, VS vs, rt::Ref<rt::Object> spHost) {
                    if (!vs) rt::raise(rt::err::ObjectNotSet);
                    // Either edition's host: its macros are read by name.
                    rt::Ref<jespin::IVValues> defines;
                    if (spHost) {
                      const rt::Variant d = rt::getProperty(spHost.get(), u"Defines");
                      if (d.isObject()) defines = rt::queryRef<jespin::IVValues>(d.object());
                    }
                    f.readStream(*vs, defines ? definesOf(*defines) : DefineLookup());
                  })
          .get(u"Error", [](SvUserFun& f) { return rt::Ref<jespin::IErrInfo>(&f.error()); })
          .get(u"Name", [](SvUserFun& f) { return f.name(); });
  return table;
}

SvUserFun::SvUserFun() : error_(u"SvUserFun") {}
SvUserFun::~SvUserFun() = default;

int32_t SvUserFun::addLine(const ExpItems& line) {
  error_.clear();
  try {
    if (!headerDone_) {
      firstLine(line);
      headerDone_ = true;
      return LineTaken;
    }
    if (line.empty()) return LineTaken;
    int32_t first = line.item(1).iType;
    if (first == tok::EndSub || first == tok::EndFunction) return DefinitionComplete;
    lines_.addObj(line);
    return LineTaken;
  } catch (const rt::RuntimeError& e) {
    error_.trap(e, u"AddLine");
    return AddFailed;
  }
}

// Sub name ( [param {, param}] ) -- tokens other than names, commas and the
// closing bracket are passed over; a missing closing bracket is forgiven.
void SvUserFun::firstLine(const ExpItems& line) {
  if (line.count() <= 3 || line.item(2).iType != tok::Name || line.item(3).iType != tok::OpenParen)
    badHeader();
  name_ = rt::toText(line.item(2).iValue);
  key_ = name_;
  bool nameExpected = true;
  for (int32_t i = 4; i <= line.count(); ++i) {
    const ExpItem& ei = line.item(i);
    if (ei.iType == tok::Name) {
      if (!nameExpected) badHeader();
      addParam(rt::toText(ei.iValue));
      nameExpected = false;
    } else if (ei.iType == tok::Comma) {
      if (nameExpected) badHeader();
      nameExpected = true;
    } else if (ei.iType == tok::CloseParen) {
      break;
    }
  }
}

void SvUserFun::addParam(std::u16string name) {
  for (const std::u16string& p : params_)
    if (rt::equalsNoCase(p, name)) return;  // declared already
  params_.push_back(std::move(name));
}

void SvUserFun::writeStream(nubrel::VStream& vs) const {
  vs.setVString(name_);
  vs.setVLong(static_cast<int32_t>(params_.size()));
  for (const std::u16string& p : params_) vs.setVString(p);
  vs.setVLong(lines_.count());
  for (const rt::Ref<ExpItems>& line : lines_) line->writeStream(vs);
}

void SvUserFun::readStream(nubrel::VStream& vs, const DefineLookup& defines) {
  name_ = vs.vString();
  key_ = name_;
  int32_t p = vs.vLong();
  for (int32_t i = 0; i < p; ++i) {
    requireMore(vs);
    addParam(vs.vString());
  }
  int32_t n = vs.vLong();
  for (int32_t i = 0; i < n; ++i) {
    requireMore(vs);
    rt::Ref<ExpItems> line = rt::make<ExpItems>();
    line->readStream(vs);
    if (defines && !expandDefines(*line, defines)) line->error().raise();
    lines_.addExpItems(line);
  }
  headerDone_ = true;
}

}  // namespace engine
