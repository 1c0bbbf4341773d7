#include "spage.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "incfile.h"
#include "inuse.h"
#include "modstr.h"
#include "names.h"
#include "pagefile.h"
#include "pagesubs.h"
#include "rt/error.h"
#include "rt/paths.h"
#include "rt/text.h"

namespace halvorn {

namespace {

// How deep page runs (a page's script running a page) and the includes of
// one page may nest before a run or an include is refused: each level
// takes native stack.
constexpr int kMaxNesting = 32;
// Page runs in progress in this process.
int runDepth = 0;

template <class I>
rt::Ref<I> newObject(const rt::Guid& clsid) {
  rt::Ref<I> o = rt::queryRef<I>(rt::createInstance(clsid).get());
  if (!o) rt::raise(rt::err::NoAutomation, rt::ascii(clsid.toString()));
  return o;
}

std::u16string nestedTooDeep(std::u16string_view what) {
  return rt::errorText(rt::err::OutOfStackSpace) + u"：" + std::u16string(what) + u"嵌套超过 " +
         rt::ascii(std::to_string(kMaxNesting)) + u" 层";
}

// The report of a failure in a page or an include that ran.
std::u16string failedIn(std::u16string_view file, std::u16string_view what) {
  return u"在执行文件" + bracket(file) + u"时发生错误：\r\n" + std::u16string(what);
}

}  // namespace

// The host's events the page answers.  The page outlives its advice: it
// unadvises when it ends.
class SPage::HostEvents final : public kestrin::ScriptHostEvents {
 public:
  explicit HostEvents(SPage& page) : page_(page) {}
  void output(const std::u16string& s) override { page_.output(s); }
  void includeFile(const std::u16string& s) override { page_.runInclude(s); }

 private:
  SPage& page_;
};

// What one run holds, let go of however the run ends.
class SPage::Run {
 public:
  explicit Run(SPage& page) : page_(page) {
    page_.running_ = true;
    ++runDepth;
  }
  ~Run() {
    --runDepth;
    page_.running_ = false;
    // Files not put in place by now go, and the old ones stay.
    page_.outFile_ = nullptr;
    page_.outObject_ = nullptr;
    page_.objectOutput_ = false;
    page_.outStack_.clear();
    page_.finished_.clear();
    page_.partLine_.clear();
    page_.runningFile_.clear();
    // A child's outputs wait for its parent's run, and what it read stays
    // read by that run: none of its files is put in place over one of them.
    inuse::release(&page_, page_.runningParent());
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

 private:
  SPage& page_;
};

// The names the running script sees, unbound however the run ends.
class SPage::Names {
 public:
  explicit Names(SPage& page) : space_(page.host_->sSpace()) {
    if (!space_) rt::raise(rt::err::ObjectNotSet);
    space_->setValue(u"curPage", &page);
    space_->setValue(u"NewPage", SvNewPage::bound(page).get());
  }
  ~Names() { unbind(); }
  Names(const Names&) = delete;
  Names& operator=(const Names&) = delete;

  void unbind() noexcept {
    if (!space_) return;
    try {
      space_->setValue(u"NewPage", nullptr);
      space_->setValue(u"curPage", nullptr);
    } catch (...) {
      // Nothing is left to let go of then.
    }
    space_ = nullptr;
  }

 private:
  rt::Ref<zorbel::ScriptSpace> space_;
};

const rt::MemberTable<SPage>& SPage::members() {
  using S = std::u16string;
  static const auto table =
      rt::MemberTable<SPage>(u"SPage")
          .prop(u"IsShowInfo", &SPage::isShowInfo, &SPage::setIsShowInfo)
          .get(u"QelSearchPaths", &SPage::qelSearchPaths)
          .prop(u"OutBasePath", &SPage::outBasePath, [](SPage& p, S s) { p.setOutBasePath(s); })
          .prop(u"QelBasePath", &SPage::qelBasePath, [](SPage& p, S s) { p.setQelBasePath(s); })
          .get(u"Host", &SPage::host)
          .get(u"ErrString", &SPage::errString)
          .method(u"OutPage",
                  [](SPage& p, std::optional<S> outFn, std::optional<S> qelFn) {
                    return p.outPage(outFn.value_or(S()), qelFn.value_or(S()));
                  })
          .prop(u"QELFileName", &SPage::qelFileName, [](SPage& p, S s) { p.setQelFileName(s); })
          .prop(u"OutFileName", &SPage::outFileName, [](SPage& p, S s) { p.setOutFileName(s); });
  return table;
}

void* SPage::query(const rt::Iid& iid) noexcept {
  if (iid == kSelfIid) return this;
  return Automation::query(iid);
}

SPage::SPage()
    : host_(newObject<kestrin::IScriptHost>(kestrin::IScriptHost::clsid)),
      error_(jespin::newErrInfo(u"Halvorn", u"SPage")),
      searchPaths_(newObject<jespin::IVValues>(jespin::IVValues::clsid)) {
  hostCookie_ = host_->advise(rt::make<HostEvents>(*this));
}

SPage::~SPage() {
  for (SPage* child : children_) child->parent_ = nullptr;
  if (parent_) std::erase(parent_->children_, this);
  try {
    host_->unadvise(hostCookie_);
    host_->freeAll();  // the host and its built-ins hold each other
  } catch (...) {
    // An end cannot fail.
  }
}

rt::Ref<jespin::IVValues> SPage::qelSearchPaths() {
  SPage* top = this;
  while (top->parent_) top = top->parent_;
  return top->searchPaths_;
}

rt::Ref<SPage> SPage::newPage(bool child) {
  rt::Ref<SPage> page = rt::make<SPage>();
  page->qelBasePath_ = qelBasePath_;
  page->outBasePath_ = outBasePath_;
  if (child) {
    page->parent_ = this;
    children_.push_back(page.get());
  }
  return page;
}

SPage* SPage::infoTop() {
  SPage* top = this;
  for (;;) {
    if (!top->isShowInfo_) return nullptr;
    if (!top->parent_) return top;
    top = top->parent_;
  }
}

void SPage::raiseShowInfo(int32_t kind, std::u16string_view text) {
  SPage* top = infoTop();
  if (!top) return;
  const std::u16string info(text);
  top->events_.raise(top, [&](PageEvents& sink) { sink.showInfo(kind, info); });
}

void SPage::reportError(std::u16string_view text) {
  reportError(text, ErrorPlace{runningFile(), 0, -1, std::u16string(text)});
}

// The report reaches the host through the pages that made this one, whose
// runs it fails as well.
void SPage::reportError(std::u16string_view text, const ErrorPlace& at) {
  const bool shown = infoTop() != nullptr;
  for (SPage* p = this; p; p = p->parent_) {
    if (p != this && !p->running_) break;
    p->errString_ = text;
    p->errShown_ = shown;
    p->failedAt_ = at;
  }
  raiseShowInfo(QIF_Error, text);
}

void SPage::reportToParent() {
  if (!runningParent()) return;
  if (error_->haveErr())
    parent_->reportError(failedIn(qelFileName_, error_->description() + u"\r\n" + error_->sourceFull()),
                         failedAt_);
  else if (!errString_.empty() && !errShown_)
    parent_->reportError(errString_, failedAt_);
}

bool SPage::outPage(std::u16string_view outFn, std::u16string_view qelFn) {
  rt::Ref<SPage> keep(this);  // a handler may let go of the page
  if (running_) {
    // Its script would take the output from under the run.
    reportError(u"页面正在运行，不能再次运行。");
    return false;
  }
  const bool ran = runNamed(outFn, qelFn);
  reportToParent();
  return ran;
}

bool SPage::runNamed(std::u16string_view outFn, std::u16string_view qelFn) {
  error_->clear();
  errString_.clear();
  errShown_ = false;
  failedAt_ = {};
  if (!outFn.empty()) outFileName_ = outFn;
  if (!qelFn.empty()) qelFileName_ = qelFn;
  if (outFileName_.empty()) {
    reportError(u"没有指定输出文件名。");
    return false;
  }
  if (qelFileName_.empty()) {
    reportError(u"没有指定脚本文件名。");
    return false;
  }
  if (runDepth >= kMaxNesting) {
    reportError(nestedTooDeep(u"页面运行"));
    return false;
  }
  Run run(*this);
  return runPage();
}

bool SPage::runPage() {
  const bool toObject = isObjectName(outFileName_);
  if (!toObject && !outBasePath_.empty() && isRelative(outFileName_))
    outFileName_ = outBasePath_ + outFileName_;
  if (!qelBasePath_.empty() && isRelative(qelFileName_)) qelFileName_ = qelBasePath_ + qelFileName_;
  outBasePath_ = toObject ? std::u16string() : folderOf(outFileName_);
  qelBasePath_ = folderOf(qelFileName_);
  if (!rt::makePath(outBasePath_)) {
    reportError(u"输出文件路径" + bracket(outBasePath_) + u"不存在或不能被建立。");
    return false;
  }
  const PageState state = pageState(qelFileName_);
  if (state == PageState::Missing) {
    reportError(u"没有发现要执行的脚本文件" + bracket(qelFileName_) + u"。");
    return false;
  }
  rt::Ref<nubrel::IStreamFile> compiled;
  if (!readyToRun(
          qelFileName_, state, *error_, failedAt_,
          [this](std::u16string_view notice) { raiseShowInfo(QIF_UserInfo, notice); }, compiled))
    return false;
  inuse::read(this, qelFileName_);
  inuse::read(this, compiledName(qelFileName_));
  objectOutput_ = toObject;
  if (toObject) {
    outObject_ = rt::createObject(progIdOf(outFileName_));
  } else if (!(outFile_ = openOutput(outFileName_, true))) {
    return false;
  }
  raiseShowInfo(QIF_PageStart, outFileName_);
  Names names(*this);
  isShowInfo_ = true;
  runCompiled(qelFileName_, compiled.get(), *host_, *error_, failedAt_);
  compiled = nullptr;
  names.unbind();
  finishRun();
  raiseShowInfo(QIF_PageEnd, outFileName_);
  return true;
}

// Put in place before the host hears of the end, so it can read them (a
// child's wait for the run it is part of).  A failure here is the run's, in
// its error record, unless it failed before.
void SPage::finishRun() {
  try {
    if (objectOutput_ || !failed()) flushPartLine();  // an output object shows all that ran
    if (!failed()) placeOutputs();
  } catch (const rt::RuntimeError& e) {
    if (error_->haveErr()) return;
    error_->readError(e.number(), e.source(), e.description(), u"OutPage");
    failedAt_ = placeOf(*error_, qelFileName_);
  }
}

std::unique_ptr<OutputFile> SPage::openOutput(std::u16string_view name, bool reportUnopened) {
  auto file = std::make_unique<OutputFile>();
  if (!file->open(name)) {
    if (reportUnopened) reportError(u"输出文件" + bracket(name) + u"不能被正常打开。");
    return nullptr;
  }
  if (inuse::write(this, name)) return file;
  reportError(u"输出文件" + bracket(name) + u"是运行中的页面读过或正在写出的文件，不能被写出。");
  return nullptr;
}

// In the order they were done with, as if each were put in place then: those
// PopFile finished (and those of the children run meanwhile), then those
// left open, the last pushed first; a file pushed again after its PopFile
// thus ends with what it was given last.  All are on disk before the first
// takes its place.  A child's run is part of its parent's: its files, on
// disk, wait for the end of the outermost run and are put in place with
// that run's own, or not at all.
void SPage::placeOutputs() {
  if (outFile_) finished_.push_back(std::move(outFile_));
  for (auto f = outStack_.rbegin(); f != outStack_.rend(); ++f) finished_.push_back(std::move(*f));
  outStack_.clear();
  for (const auto& f : finished_) {
    if (!inuse::wasRead(f->name())) continue;
    reportError(u"输出文件" + bracket(f->name()) + u"是运行中的页面读过的文件，不能被写出。");
    return;
  }
  for (const auto& f : finished_) f->finish();
  if (SPage* parent = runningParent()) {
    std::ranges::move(finished_, std::back_inserter(parent->finished_));
    finished_.clear();
    return;
  }
  std::vector<OutputFile*> files;
  for (const auto& f : finished_) files.push_back(f.get());
  if (files.empty()) return;
  OutputFile::placeAll(files);
  for (OutputFile* f : files) inuse::written(this, f->name());
}

void SPage::runInclude(const std::u16string& written) {
  std::u16string name = written;
  const std::u16string includer = runningFile();
  auto failure = [&includer](int32_t number, std::u16string_view description) {
    return ErrorPlace{includer, 0, number, std::u16string(description)};
  };
  try {
    name = stripQuotes(written);
    if (includeDepth_ >= kMaxNesting) rt::raiseWith(rt::err::OutOfStackSpace, nestedTooDeep(u"包含文件"), u"Halvorn.SPage.RunInclude");
    struct Depth {
      int& depth;
      explicit Depth(int& d) : depth(++d) {}
      ~Depth() { --depth; }
    } depth(includeDepth_);
    rt::Ref<QelIncFile> include = rt::make<QelIncFile>();
    include->setHost(host_.get());
    include->setQelBasePath(qelBasePath_);
    include->setQelSearchPaths(qelSearchPaths().get());
    if (!include->incFile(name)) {
      reportError(u"在引用" + bracket(name) + u"时发生错误：\r\n" + include->errString(),
                  failure(include->error().number(), include->error().description()));
    } else {
      inuse::read(this, include->qelFileName());
      inuse::read(this, compiledName(include->qelFileName()));
      include->setNotice([this](std::u16string_view notice) { raiseShowInfo(QIF_UserInfo, notice); });
      runningFile_ = include->qelFileName();
      include->execIncFile();
      runningFile_ = includer;
      inuse::read(this, compiledName(include->qelFileName()));
      if (include->error().haveErr())
        reportError(failedIn(include->qelFileName(), include->errString()), include->failedAt());
    }
  } catch (const rt::RuntimeError& e) {
    runningFile_ = includer;
    reportError(u"在引用" + bracket(name) + u"时发生错误：\r\n" + e.description() + u"\r\n" + e.source(),
                failure(e.number(), e.description()));
  }
  // The include's failure is reported: the including page goes on as if
  // its host had recorded nothing.
  host_->error().clear();
}

}  // namespace halvorn
