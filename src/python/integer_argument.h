#pragma once

#include <pybind11/pybind11.h>

#include <cstdint>
#include <string>

namespace py = pybind11;

// A whole number handed to a call (an int, a numpy integer, anything with
// __index__) from lowest to highest. Raises TypeError "<name> must be an
// integer, not <type>" for anything else, floats included, and ValueError
// "<name> is <value>, not <expected>" outside the range, however large.
int64_t integerArgument(py::handle value, const char* name, int64_t lowest, int64_t highest,
                        const std::string& expected);
