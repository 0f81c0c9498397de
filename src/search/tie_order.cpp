#include "search/tie_order.h"

#include <cstring>

bool tieOrderNamed(const char* name, TieOrder& order) {
  if (std::strcmp(name, "heap") == 0) {
    order = TieOrder::Heap;
    return true;
  }
  if (std::strcmp(name, "canonical") == 0) {
    order = TieOrder::Canonical;
    return true;
  }
  return false;
}
