#pragma once

// The recorder's signal handling. Ctrl+C (SIGINT) and SIGTERM only note the request, so that the
// step loop can stop between chunks of steps and close the scripts as a normal stop does. A
// file-size limit (SIGXFSZ) is ignored: the write then fails with EFBIG and is reported.
class StopSignals {
public:
  static void install();
  // The signal that asked to stop, or 0 while none has.
  static int received();
};
