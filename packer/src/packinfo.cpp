#include "packinfo.h"

#include <sys/stat.h>

#include <limits>

#include "packstream.h"
#include "rt/error.h"
#include "rt/fspath.h"

namespace wistel {

namespace {

// PackLen is a Long to late-bound callers; a longer pack cannot be told.
int32_t packLenAsLong(PackInfo& p) {
  int64_t n = p.packLen();
  if (n > std::numeric_limits<int32_t>::max()) rt::raise(rt::err::Overflow);
  return static_cast<int32_t>(n);
}

void writeTo(PackInfo& p, const rt::Ref<nubrel::VStream>& vs) {
  if (!vs) rt::raise(rt::err::ObjectNotSet);
  p.writeStream(*vs);
}

void readFrom(PackInfo& p, const rt::Ref<nubrel::VStream>& vs) {
  if (!vs) rt::raise(rt::err::ObjectNotSet);
  p.readStream(*vs);
}

}  // namespace

const rt::MemberTable<PackInfo>& PackInfo::members() {
  static const auto table =
      rt::MemberTable<PackInfo>(u"PackInfo")
          .prop(u"Ver", &PackInfo::ver, &PackInfo::setVer)
          .prop(u"Copyright", &PackInfo::copyright,
                [](PackInfo& p, std::u16string s) { p.setCopyright(s); })
          .prop(u"Description", &PackInfo::description,
                [](PackInfo& p, std::u16string s) { p.setDescription(s); })
          .prop(u"Password", &PackInfo::password,
                [](PackInfo& p, std::u16string s) { p.setPassword(s); })
          .prop(u"CreateTime", &PackInfo::createTime, &PackInfo::setCreateTime)
          .prop(u"PackLen", &packLenAsLong, [](PackInfo& p, int32_t n) { p.setPackLen(n); })
          .prop(u"BlkSize", &PackInfo::blkSize, &PackInfo::setBlkSize)
          .prop(u"Flag", &PackInfo::flag, &PackInfo::setFlag)
          .method(u"ReadInfo", [](PackInfo& p, std::u16string fn) { return p.readInfo(fn); })
          .method(u"WriteStream", &writeTo)
          .method(u"ReadStream", &readFrom);
  return table;
}

void PackInfo::writeStream(nubrel::VStream& vs) {
  vs.setVLong(ver_);
  vs.setVString(copyright_);
  vs.setVString(description_);
  vs.setVLong(flag_);
  vs.setVDate(createTime_);
  vs.setVLong(blkSize_);
  if (hasPassword()) vs.setVString(password_);
}

void PackInfo::readStream(nubrel::VStream& vs) {
  ver_ = vs.vLong();
  copyright_ = vs.vString();
  description_ = vs.vString();
  flag_ = vs.vLong();
  createTime_ = vs.vDate();
  blkSize_ = vs.vLong();
  password_ = hasPassword() ? vs.vString() : std::u16string();
}

bool PackInfo::readInfo(std::u16string_view fn) {
  try {
    struct stat st {};
    if (!rt::fs::statOf(rt::fs::nativePath(fn), st) || !S_ISREG(st.st_mode)) return false;
    packLen_ = st.st_size;
    rt::Ref<nubrel::IBinFileStream> s = newPackStream();
    if (!s->openStream(fn, nubrel::InStream)) return false;
    readStream(*s);
    bool whole = s->errInfo().empty();
    s->closeStream();
    return whole;
  } catch (const rt::RuntimeError&) {
    return false;
  }
}

}  // namespace wistel
