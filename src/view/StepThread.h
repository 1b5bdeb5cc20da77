#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// A thread of its own that runs one piece of work at a time for the thread that owns it: the
// simulation's steps, while the owner paints the frame before them.
class StepThread {
public:
  StepThread();
  ~StepThread();
  StepThread(const StepThread&) = delete;
  StepThread& operator=(const StepThread&) = delete;

  // Starts `work`; the previous piece must have been waited for.
  void run(std::function<void()> work);
  // Returns once the work last run is done.
  void wait();

private:
  void serve();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> work_;  // set while a piece is to run or running
  bool quitting_ = false;
  std::thread thread_;  // last, so that it starts once the rest is ready
};
