#include "record/StopSignals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t receivedSignal = 0;

// Only an assignment: nothing else is safe in a handler.
void noteSignal(int signal) { receivedSignal = signal; }

}  // namespace

void StopSignals::install() {
  struct sigaction action {};
  action.sa_handler = noteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // a write under way carries on instead of failing with EINTR
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGXFSZ, SIG_IGN);
}

int StopSignals::received() { return receivedSignal; }
