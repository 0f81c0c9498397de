#include "graph/load_splitting.h"

LoadSplitting& loadSplitting() {
  static LoadSplitting splitting;
  return splitting;
}
