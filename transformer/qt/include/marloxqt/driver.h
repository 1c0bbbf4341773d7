// Runs a drive file (see marlox/drive.h) on the main window, one line per
// turn of the event loop, through the actions a user triggers.  The first
// line that fails ends the program with status 1, the line on standard
// error; after the last line the window is closed as a user closes it.
#pragma once

#include <QString>
#include <QTimer>
#include <vector>

#include "marlox/drive.h"

namespace marloxqt {

class MainWindow;

// Saves a picture of the screen (of the window alone on a platform
// without a screen of its own).  False when it cannot be written.
bool saveScreenshot(MainWindow& window, const QString& path);

class Driver {
 public:
  // `folder` is the drive file's folder: "open" paths are taken from it.
  Driver(MainWindow& window, marlox::DriveAnswers& answers, std::vector<marlox::DriveLine> lines, QString folder);

  // Starts with the first line at the next turn of the event loop.
  void start();
  bool failed() const { return failed_; }
  // Every line was taken (the program may end before: a line that closes
  // the window while lines remain).
  bool finished() const { return next_ == lines_.size(); }

 private:
  void step();
  // Runs one line but "close"; an empty text when it passed, else why it
  // failed.
  QString run(const marlox::DriveLine& line, int& waitMs);
  // Closes the window as a user does, after the "close" `line` or the
  // last line (null), and fails the drive when it stays open.
  void close(const marlox::DriveLine* line);
  void awaitClose();
  void fail(const marlox::DriveLine* line, const QString& why);
  // A script runs (never after the program has ended).
  bool bridgeRunning();

  // How long the end of a drive waits for a close held up by a script.
  static constexpr int kCloseWaits = 100;
  static constexpr int kCloseWaitMs = 100;

  MainWindow& window_;
  marlox::DriveAnswers& answers_;
  std::vector<marlox::DriveLine> lines_;
  QString folder_;
  QTimer timer_;  // the next step
  size_t next_ = 0;
  bool failed_ = false;
  bool closed_ = false;
  const marlox::DriveLine* closeLine_ = nullptr;  // the close being waited for
  int closeWaits_ = 0;
};

}  // namespace marloxqt
