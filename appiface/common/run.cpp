#include "run.h"

#include <string>

#include "rt/error.h"
#include "rt/text.h"

namespace appiface {

namespace {

constexpr std::u16string_view kName = u"Application";

// Runs in progress in this process.
int runsInProgress = 0;

}  // namespace

Run::Run(Application& app, rt::Ref<rt::Object> host, rt::Ref<zorbel::ScriptSpace> space,
         std::function<void()> finish)
    : app_(&app),
      host_(std::move(host)),
      space_(std::move(space)),
      finish_(std::move(finish)),
      outerHost_(app.host_),
      outerRun_(app.run_) {
  try {
    if (runsInProgress >= kMaxNesting)
      rt::raise(rt::err::OutOfStackSpace,
                u"脚本运行嵌套超过 " + rt::ascii(std::to_string(kMaxNesting)) + u" 层");
    failure_ = jespin::newErrInfo();
    app.error_->clear();
    if (!space_) rt::raise(rt::err::ObjectNotSet, kName);
    space_->setValue(kName, &app);
  } catch (...) {
    space_ = nullptr;
    end();
    throw;
  }
  app.host_ = host_;
  app.run_ = this;
  ++runsInProgress;
  counted_ = true;
}

Run::~Run() { end(); }

void Run::recorded(int32_t number, std::u16string_view source, std::u16string_view description,
                   std::u16string_view fnName) {
  failure_->readError(number, source, description, fnName);
}

void Run::end() noexcept {
  try {
    if (space_) space_->setValue(kName, nullptr);
  } catch (...) {
    // The host is freed below all the same.
  }
  space_ = nullptr;
  try {
    finish_();
  } catch (...) {
    // An end cannot fail.
  }
  if (counted_) --runsInProgress;
  Application& app = *app_;
  app.host_ = outerHost_;
  app.run_ = outerRun_;
  host_ = nullptr;
  if (!failure_) return;
  try {
    app.error_->clear();
    if (failure_->haveErr())
      app.error_->readError(failure_->number(), failure_->source(), failure_->description());
  } catch (...) {
    // Nothing is left to put back.
  }
}

}  // namespace appiface
