#pragma once
// The processor time of the calling thread, in seconds: the cost bounds of
// the tests are checked against it rather than against the wall clock, so
// that a machine busy with other work does not fail them.
#include <ctime>

namespace testsupport {

inline double TempsProcesseurFil() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace testsupport
