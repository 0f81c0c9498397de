#include "python/integer_arrays.h"

#include <cstdint>
#include <string>

#include "base/allocation.h"
#include "python/recycled_blocks.h"

IntegerColumn integerColumn(py::handle values, const char* name) {
  py::array array = py::array::ensure(values, py::array::c_style);
  if (!array) {
    throw py::error_already_set();
  }
  if (array.ndim() != 1) {
    failWith(FailureKind::BadInput, std::string(name) + " must be one-dimensional");
  }
  IntegerColumn column;
  column.length = array.shape(0);
  const char kind = array.dtype().kind();
  if (kind == 'i' || kind == 'u') {
    if (!array.dtype().attr("isnative").cast<bool>()) {
      // The other byte order (an array read from a big-endian file, say) is
      // turned into this machine's once: read as they lie, its numbers differ.
      array = py::array::ensure(array.attr("astype")(array.dtype().attr("newbyteorder")("=")),
                                py::array::c_style);
    }
    column.kind = kind;
    column.itemSize = array.itemsize();
  } else if (column.length == 0) {
    // An empty sequence becomes a float array; it holds no value that is not an integer.
    array = py::array_t<int64_t>(0);
  } else {
    failWith(FailureKind::BadArgument,
             std::string(name) + " must hold integers, not " + std::string(py::str(array.dtype())));
  }
  column.array = std::move(array);
  return column;
}

void checkRange(const IntegerColumn& column, const char* name, int64_t lowest, int64_t highest,
                const char* expected) {
  int64_t badIndex = -1;
  int64_t badValue = 0;
  column.forEach([&](int64_t index, int64_t value) {
    if ((value < lowest || value > highest) && badIndex < 0) {
      badIndex = index;
      badValue = value;
    }
  });
  if (badIndex >= 0) {
    failWith(FailureKind::BadInput, std::string(name) + "[" + std::to_string(badIndex) + "] is " +
                                        std::to_string(badValue) + ", not " + expected);
  }
}

Int32Buffer newInt32Buffer(int64_t count) {
  // Rows times nodes can pass what a byte count holds: no memory has that much.
  if (static_cast<uint64_t>(count) > SIZE_MAX / sizeof(int32_t)) failAllocation();
  auto* block = static_cast<int32_t*>(takeBlock(static_cast<std::size_t>(count) * sizeof(int32_t)));
  if (block == nullptr) failAllocation();
  return Int32Buffer(block);
}

py::array_t<int32_t> handToNumpy(Int32Buffer buffer, std::vector<py::ssize_t> shape) {
  int32_t* data = buffer.get();
  py::capsule owner(data, [](void* block) { giveBackBlock(block); });
  buffer.release();
  return py::array_t<int32_t>(std::move(shape), data, owner);
}
