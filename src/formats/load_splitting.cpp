#include "formats/load_splitting.h"

#include "base/thread_count.h"

int32_t LoadSplitting::threadsInForce() const { return threads > 0 ? threads : threadCount(); }

LoadSplitting& loadSplitting() {
  static LoadSplitting splitting;
  return splitting;
}
