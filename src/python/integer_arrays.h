#pragma once

#include <pybind11/numpy.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <vector>

#include "python/recycled_blocks.h"
#include "python/tool_errors.h"

namespace py = pybind11;

// A one-dimensional array of any integer dtype, or a sequence of integers,
// kept contiguous and read value by value as int64_t. Taking it needs the
// GIL; reading it does not, so long loops over it can run without.
struct IntegerColumn {
  py::array array;
  char kind = 'i';  // 'i' signed, 'u' unsigned
  py::ssize_t itemSize = 8;
  int64_t length = 0;

  // visit(index, value) for every value in order. Unsigned 64-bit values
  // above the int64_t range arrive as its maximum: out of every range asked for.
  template <typename Visit>
  void forEach(Visit&& visit) const {
    switch (itemSize * (kind == 'u' ? -1 : 1)) {
      case 1:
        return walk<int8_t>(visit);
      case 2:
        return walk<int16_t>(visit);
      case 4:
        return walk<int32_t>(visit);
      case 8:
        return walk<int64_t>(visit);
      case -1:
        return walk<uint8_t>(visit);
      case -2:
        return walk<uint16_t>(visit);
      case -4:
        return walk<uint32_t>(visit);
      case -8:
        return walk<uint64_t>(visit);
    }
  }

 private:
  template <typename T, typename Visit>
  void walk(Visit& visit) const {
    const T* values = static_cast<const T*>(array.data());
    for (int64_t i = 0; i < length; ++i) {
      if constexpr (std::is_same_v<T, uint64_t>) {
        constexpr auto kMost = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
        visit(i, static_cast<int64_t>(values[i] > kMost ? kMost : values[i]));
      } else {
        visit(i, static_cast<int64_t>(values[i]));
      }
    }
  }
};

// name is how messages call the argument. Raises TypeError for values that
// are not integers and ValueError for more than one dimension. Arrays in
// either byte order give the numbers they hold.
IntegerColumn integerColumn(py::handle values, const char* name);

// Every value of column between lowest and highest, or ValueError naming the
// first one that is not, with what was expected ("a node label from 0 to 9").
void checkRange(const IntegerColumn& column, const char* name, int64_t lowest, int64_t highest,
                const char* expected);

// Memory for arrays handed to numpy (python/recycled_blocks.h), released by
// the array.
struct FreeBuffer {
  void operator()(void* block) const { giveBackBlock(block); }
};
using Int32Buffer = std::unique_ptr<int32_t[], FreeBuffer>;

// Room for count values; runs out of memory like the library (MemoryError
// inside a MessageCapture).
Int32Buffer newInt32Buffer(int64_t count);

// An int32 array over buffer with the given shape, which from now on owns it:
// numpy copies nothing.
py::array_t<int32_t> handToNumpy(Int32Buffer buffer, std::vector<py::ssize_t> shape);
