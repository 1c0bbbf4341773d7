#include "packinfo.h"

#include <sys/stat.h>

#include <limits>
#include <string>

#include "names.h"
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

// A file stream keeps a read that ran out of data as its failure instead of
// raising it: raised here, the failure reaches the reader's caller.
void raiseKeptFailure(nubrel::VStream& vs) {
  rt::Ref<nubrel::IStreamFile> file = rt::queryRef<nubrel::IStreamFile>(&vs);
  if (file && file->eof()) rt::raiseWith(rt::err::PastEndOfFile, file->errInfo(), {});
}

// The next value of `vs`, read by `read`; raises when the stream failed, so
// a member is given only a value that was read.
template <class Read>
auto next(nubrel::VStream& vs, Read read) {
  auto value = read(vs);
  raiseKeptFailure(vs);
  return value;
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
  auto readLong = [](nubrel::VStream& s) { return s.vLong(); };
  auto readString = [](nubrel::VStream& s) { return s.vString(); };
  ver_ = next(vs, readLong);
  copyright_ = next(vs, readString);
  description_ = next(vs, readString);
  flag_ = next(vs, readLong);
  createTime_ = next(vs, [](nubrel::VStream& s) { return s.vDate(); });
  blkSize_ = next(vs, readLong);
  password_ = hasPassword() ? next(vs, readString) : std::u16string();
}

bool PackInfo::readInfo(std::u16string_view fn) {
  failure_.clear();
  try {
    struct stat st {};
    std::string path = rt::fs::nativePath(fn);
    if (!rt::fs::statOf(path, st)) rt::raise(rt::err::FileNotFound, shownName(fn));
    if (!S_ISREG(st.st_mode)) rt::raise(rt::err::PathFileAccess, shownName(fn));
    packLen_ = st.st_size;
    rt::Ref<nubrel::IBinFileStream> s = newPackStream();
    if (!s->openStream(fn, nubrel::InStream)) rt::raiseWith(rt::err::PathFileAccess, s->errInfo(), {});
    readStream(*s);
    s->closeStream();
    return true;
  } catch (const rt::RuntimeError& e) {
    failure_ = e.description();
    return false;
  }
}

}  // namespace wistel
