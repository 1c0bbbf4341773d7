// The page object of the page library, as hosts see it: it keeps a page's
// compiled form "<page>.bin" current, runs it on its own script host and
// writes what the page outputs to a file (or, for an output name
// "object:<ProgID>", to the InputLine method of a new object of that class).
//
//   rt::Ref<halvorn::ISPage> page = ...createObject(u"Halvorn.SPage")...;
//   page->qelSearchPaths()->add(rt::Variant(u"/usr/share/pages/"));
//   bool ran = page->outPage(u"/tmp/out.txt", u"/srv/report.page");
//   // ran: the page ran (its script may still have failed: see error())
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "jespin/errinfo.h"
#include "jespin/values.h"
#include "kestrin/scripthost.h"
#include "rt/activation.h"
#include "rt/object.h"

namespace halvorn {

// The kinds of ShowInfo (qelInfoFlags).
enum QelInfoFlag : int32_t {
  QIF_PageStart = 1,  // a run starts; the text is the output name
  QIF_PageEnd = 2,    // a run ended; the text is the output name
  QIF_UserInfo = 3,   // a page's script called curPage.Info
  QIF_Error = 4,      // an error message
};

// The call kinds the library declares for its hosts (SaCallTypes).
enum SaCallType : int32_t { SaMethod = 1, SaGet = 2, SaLet = 4, SaSet = 8 };

// Where a reported error happened, and what it was.
struct ErrorPlace {
  std::u16string file;         // the page or included page as the run named it; empty for none
  int32_t line = 0;            // a line of that file's own text; 0 when not known
  int32_t number = 0;          // the error's number
  std::u16string description;  // its own text, without what a report puts around it
};

// The page's event, raised synchronously.
class PageEvents : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Halvorn.PageEvents");

  virtual void showInfo(int32_t infoFlag, const std::u16string& strInfo) {}
};

class ISPage : public virtual rt::Object {
 public:
  static constexpr rt::Iid iid = rt::guidOf("Halvorn.ISPage");
  static constexpr rt::Guid clsid = rt::classIdOf("Halvorn.SPage");

  // Whether ShowInfo is raised.  Every run turns it on once it has started.
  virtual bool isShowInfo() = 0;
  virtual void setIsShowInfo(bool show) = 0;
  // The include search folders, each ending in a separator; the pages made
  // from one page share its list.
  virtual rt::Ref<jespin::IVValues> qelSearchPaths() = 0;
  // Put in front of relative output and page names; after a run, the
  // folders of its output and its page.
  virtual std::u16string outBasePath() = 0;
  virtual void setOutBasePath(std::u16string_view path) = 0;
  virtual std::u16string qelBasePath() = 0;
  virtual void setQelBasePath(std::u16string_view path) = 0;
  // The page's own script host, kept for its whole life.
  virtual rt::Ref<kestrin::IScriptHost> host() = 0;
  // The last message reported through ShowInfo as an error.
  virtual std::u16string errString() = 0;
  // Runs page `qelFn` into output `outFn`; an empty name runs the last one
  // again.  False when the run could not start (the reason is in
  // errString() or error()); true once it ran, even when its script failed
  // (error() then holds the failure).
  //
  // A run fails when error() holds an error at its end or an error was
  // reported during it (errString() is not empty), by the page, an include
  // or a page its script made with curPage.NewPage (whose run that fails
  // or cannot start is reported by the page that made it).  The output file
  // and the files curPage.PushFile opened (those curPage.PopFile finished
  // too) are put in place of the old ones only when the run ends without
  // failing, and only once all are written and on disk, the output last.
  // One that cannot be written or put in place fails the run, naming it,
  // and none after it is put in place.
  virtual bool outPage(std::u16string_view outFn = {}, std::u16string_view qelFn = {}) = 0;
  virtual std::u16string qelFileName() = 0;
  virtual void setQelFileName(std::u16string_view name) = 0;
  virtual std::u16string outFileName() = 0;
  virtual void setOutFileName(std::u16string_view name) = 0;
  virtual jespin::IErrInfo& error() = 0;
  // The error reported last, in error() or through ShowInfo; nothing before
  // a run has failed.
  virtual ErrorPlace errorPlace() = 0;

  // Returns a cookie for unadvise.
  virtual uint32_t advise(rt::Ref<PageEvents> sink) = 0;
  virtual void unadvise(uint32_t cookie) = 0;
};

}  // namespace halvorn
