#include "qelcompile.h"

#include <optional>

#include "rt/error.h"
#include "translate.h"

namespace halvorn {

const rt::MemberTable<QelCompile>& QelCompile::members() {
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<QelCompile>(u"QelCompile")
          .method(u"OpenOutStream", [](QelCompile& q, S fn) { return q.openOutStream(fn); })
          .method(u"OpenMemStream",
                  [](QelCompile& q, rt::Ref<nubrel::VStream> vs) { q.openMemStream(vs.get()); })
          .method(u"CloseStream", &QelCompile::closeStream)
          .method(u"AddCode", [](QelCompile& q, S s) { q.addCode(s); })
          .method(u"AddCodeLine", [](QelCompile& q, S s) { q.addCodeLine(s); })
          .get(u"curLineCode", &QelCompile::curLineCode)
          .get(u"Error", [](QelCompile& q) { return rt::Variant(static_cast<rt::Object*>(&q.error())); });
  return table;
}

QelCompile::QelCompile()
    : compiler_(rt::queryRef<kestrin::IScriptCompile>(
          rt::createInstance(kestrin::IScriptCompile::clsid).get())) {
  if (!compiler_) rt::raise(rt::err::NoAutomation, u"Kestrin.ScriptCompile");
}

void QelCompile::target(rt::Ref<nubrel::VStream> vs) {
  target_ = std::move(vs);
  inBlock_ = false;
  line_ = 0;
}

bool QelCompile::openOutStream(std::u16string_view fn) { return openFile(fn, false); }

bool QelCompile::createOutStream(std::u16string_view fn) { return openFile(fn, true); }

bool QelCompile::openFile(std::u16string_view fn, bool create) {
  rt::Ref<nubrel::IStreamFile> file = rt::queryRef<nubrel::IStreamFile>(
      rt::createInstance(nubrel::IBinFileStream::clsid).get());
  if (!file || !(create ? file->createStream(fn) : file->openStream(fn, nubrel::OutStream)))
    return false;
  file_ = file;
  target(file);
  return true;
}

void QelCompile::openMemStream(nubrel::VStream* vs) {
  file_ = nullptr;
  target(vs);
}

void QelCompile::closeStream() {
  if (!target_) return;
  rt::Ref<nubrel::VStream> vs = std::move(target_);
  rt::Ref<nubrel::IStreamFile> file = std::move(file_);
  jespin::IErrInfo& rec = compiler_->error();
  compiler_->compileEnd(*vs);
  // A definition left open is reported at its header line.
  if (rec.haveErr()) line_ = compiler_->curLineCode();
  saved_ = !file || file->closeStream();
  if (!saved_ && !rec.haveErr()) {
    rec.setNumber(rt::err::PathFileAccess);
    rec.setDescription(file->errInfo());
    rec.setSource(u"CloseStream");
  }
}

void QelCompile::discardStream() {
  if (file_) file_->discardStream();
  file_ = nullptr;
  target_ = nullptr;
}

void QelCompile::addCode(std::u16string_view s) {
  size_t from = 0;
  while (from < s.size()) {
    size_t end = s.find_first_of(u"\r\n", from);
    addCodeLine(s.substr(from, end == s.npos ? s.npos : end - from));
    if (end == s.npos || compiler_->error().haveErr()) return;
    from = end + (s[end] == u'\r' && end + 1 < s.size() && s[end + 1] == u'\n' ? 2 : 1);
  }
}

void QelCompile::addCodeLine(std::u16string_view s) {
  if (!target_) rt::raise(rt::err::ObjectNotSet);
  ++line_;
  compiler_->setCurLineCode(line_);
  lineFailed_ = false;
  try {
    translateLine(s, inBlock_, [this](std::u16string_view scriptLine) { compile(scriptLine); });
  } catch (const rt::RuntimeError& e) {  // a line no script line can hold
    jespin::IErrInfo& rec = compiler_->error();
    rec.setNumber(e.number());
    rec.setDescription(e.description());
    rec.setSource(e.source());
  }
}

void QelCompile::compile(std::u16string_view scriptLine) {
  if (lineFailed_) return;
  compiler_->setCurLineCode(line_);
  compiler_->compileLine(scriptLine, *target_);
  lineFailed_ = compiler_->error().haveErr();
}

}  // namespace halvorn
