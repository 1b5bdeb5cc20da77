#include "view/StepThread.h"

#include <utility>

StepThread::StepThread() : thread_([this] { serve(); }) {}

StepThread::~StepThread() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    quitting_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void StepThread::run(std::function<void()> work) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    work_ = std::move(work);
  }
  changed_.notify_all();
}

void StepThread::wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return !work_; });
}

void StepThread::serve() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return quitting_ || work_; });
    if (quitting_) return;
    lock.unlock();
    work_();
    lock.lock();
    work_ = nullptr;
    changed_.notify_all();
  }
}
