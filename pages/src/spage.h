// SPage: the page object.  It owns one script host for its whole life and
// runs every page and every included page on it, so includes share the
// page's names.  While a page runs, the script sees the page as "curPage"
// and a function "NewPage"; what the script outputs becomes lines of the
// output file (or calls of the output object's InputLine).
//
// A page made by a page's script through curPage.NewPage has that page as
// its parent: its information reaches the host through the top page.  The
// link does not keep the parent alive; a parent that ends unlinks its
// children.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "halvorn/spage.h"
#include "outputfile.h"
#include "rt/dispatch.h"
#include "rt/events.h"
#include "zorbel/zorbel.h"

namespace halvorn {

class SPage final : public rt::Automation<SPage, ISPage, zorbel::ScriptValue> {
 public:
  // The page object itself, for the library's own classes.
  static constexpr rt::Iid kSelfIid = rt::guidOf("Halvorn.SPage.self");
  static SPage* of(rt::Object* o) { return o ? static_cast<SPage*>(o->query(kSelfIid)) : nullptr; }

  static const rt::MemberTable<SPage>& members();
  void* query(const rt::Iid& iid) noexcept override;

  SPage();
  ~SPage() override;

  // --- ISPage -------------------------------------------------------------
  bool isShowInfo() override { return isShowInfo_; }
  void setIsShowInfo(bool show) override { isShowInfo_ = show; }
  rt::Ref<jespin::IVValues> qelSearchPaths() override;
  std::u16string outBasePath() override { return outBasePath_; }
  void setOutBasePath(std::u16string_view path) override { outBasePath_ = path; }
  std::u16string qelBasePath() override { return qelBasePath_; }
  void setQelBasePath(std::u16string_view path) override { qelBasePath_ = path; }
  rt::Ref<kestrin::IScriptHost> host() override { return host_; }
  std::u16string errString() override { return errString_; }
  bool outPage(std::u16string_view outFn, std::u16string_view qelFn) override;
  std::u16string qelFileName() override { return qelFileName_; }
  void setQelFileName(std::u16string_view name) override { qelFileName_ = name; }
  std::u16string outFileName() override { return outFileName_; }
  void setOutFileName(std::u16string_view name) override { outFileName_ = name; }
  jespin::IErrInfo& error() override { return *error_; }
  ErrorPlace errorPlace() override { return failedAt_; }
  uint32_t advise(rt::Ref<PageEvents> sink) override { return events_.advise(std::move(sink)); }
  void unadvise(uint32_t cookie) override { events_.unadvise(cookie); }

  // --- The script's face (pagescript.cpp) ----------------------------------
  std::u16string key() override { return key_; }
  void setKey(std::u16string_view key) override { key_ = key; }
  int32_t count() override { return 0; }
  int32_t flag() override { return zorbel::FlagGeneral; }
  rt::Variant value() override { return rt::Variant(); }
  void letValue(const rt::Variant&) override {}
  void setValue(const rt::Variant&) override {}
  // The text attributes (Ver, curQelFn, curOutFn, QelBasePath,
  // OutBasePath) as new values; any other name is a page member.
  rt::Ref<zorbel::ScriptValue> attr(std::u16string_view name) override;
  rt::Ref<zorbel::ScriptValue> subs(const rt::Variant&, int32_t) override { return nullptr; }
  rt::Ref<zorbel::ScriptValue> funCall(zorbel::ScriptSpace*, zorbel::ScriptValue*, int32_t) override {
    return nullptr;
  }
  rt::Ref<zorbel::ScriptValue> objAttr(std::u16string_view name) override;
  // "Ver": the library's title and version.
  static std::u16string version();

  // --- For the page functions ------------------------------------------
  // A new page with this page's base folders; a child (with this page as
  // its parent) or one on its own.
  rt::Ref<SPage> newPage(bool child);
  // ShowInfo of the top page, while every page on the way shows it.
  void raiseShowInfo(int32_t kind, std::u16string_view text);
  // Output goes to a new file `fn` until popFile; false when it cannot be
  // opened, or while no file is written (no run, or object output).  A file
  // a page run reads or writes is refused, and reported.
  bool pushFile(std::u16string_view fn);
  bool popFile();

 private:
  class HostEvents;
  class Run;
  class Names;

  // The top page, when every page on the way to it shows information; else
  // null.
  SPage* infoTop();
  // ShowInfo and ErrString, not the error record; on the pages whose runs
  // made this one too.  Without a place, the file running now.
  void reportError(std::u16string_view text);
  void reportError(std::u16string_view text, const ErrorPlace& at);
  // The page or the include running now, or the page.
  const std::u16string& runningFile() const { return runningFile_.empty() ? qelFileName_ : runningFile_; }
  // A run once the page is known not to be running, and the steps of a
  // run after its names are checked.
  bool runNamed(std::u16string_view outFn, std::u16string_view qelFn);
  bool runPage();
  // The page that made this one through curPage.NewPage, while it runs:
  // this page's runs are then part of its run.
  SPage* runningParent() const { return parent_ && parent_->running_ ? parent_ : nullptr; }
  // A page made by curPage.NewPage whose run failed, with its parent
  // running: the parent reports the failure, unless the host was told of
  // it already, so that it fails the runs it reaches the host through.
  void reportToParent();
  // Whether the run has failed so far.
  bool failed() { return error_->haveErr() || !errString_.empty(); }
  // The end of a run: the part-line written, and the files put in place
  // when the run has not failed.
  void finishRun();
  // Runs the page an include directive names, on this page's host.
  void runInclude(const std::u16string& written);
  // Output of the script (pageoutput.cpp).
  void output(const std::u16string& s);
  void writeLine(std::u16string_view text);
  void flushPartLine();
  // Opens an output file, refusing (and reporting) one that a run reads or
  // writes; null when it cannot be written (reported when asked).
  std::unique_ptr<OutputFile> openOutput(std::u16string_view name, bool reportUnopened);
  // Puts the run's files in place (a child's: on disk, handed to its
  // running parent), unless an include has read one of them meanwhile: none
  // then, reported.  Raises when they cannot be written or put in place.
  void placeOutputs();

  rt::Ref<kestrin::IScriptHost> host_;
  uint32_t hostCookie_ = 0;
  rt::Ref<jespin::IErrInfo> error_;
  std::u16string key_;
  std::u16string qelFileName_;
  std::u16string outFileName_;
  std::unique_ptr<OutputFile> outFile_;
  rt::Ref<rt::Object> outObject_;
  bool objectOutput_ = false;
  std::u16string partLine_;
  std::u16string errString_;
  bool errShown_ = false;  // errString_ reached the host through ShowInfo
  ErrorPlace failedAt_;
  std::u16string runningFile_;  // while an include runs, that include
  std::u16string outBasePath_;
  std::u16string qelBasePath_;
  SPage* parent_ = nullptr;
  std::vector<SPage*> children_;
  // The files PushFile saved, the last on top.
  std::vector<std::unique_ptr<OutputFile>> outStack_;
  // The files PopFile finished, and the children's, which wait for the end
  // of the run.
  std::vector<std::unique_ptr<OutputFile>> finished_;
  rt::Ref<jespin::IVValues> searchPaths_;
  bool isShowInfo_ = false;
  bool running_ = false;
  int includeDepth_ = 0;
  rt::EventSource<PageEvents> events_;
};

}  // namespace halvorn
