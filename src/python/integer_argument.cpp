#include "python/integer_argument.h"

#include "python/tool_errors.h"

namespace {

// The number as Python prints it; one too long to print (Python limits the
// digits of a conversion) by its side of the 64-bit range.
std::string numberText(py::handle integer, int overflow) {
  PyObject* text = PyObject_Str(integer.ptr());
  if (text == nullptr) {
    PyErr_Clear();
    return overflow > 0 ? "above 2**63" : "below -2**63";
  }
  return py::reinterpret_steal<py::str>(text);
}

}  // namespace

int64_t integerArgument(py::handle value, const char* name, int64_t lowest, int64_t highest,
                        const std::string& expected) {
  PyObject* index = PyNumber_Index(value.ptr());
  if (index == nullptr) {
    PyErr_Clear();
    failWith(FailureKind::BadArgument, std::string(name) + " must be an integer, not " +
                                           Py_TYPE(value.ptr())->tp_name);
  }
  const auto integer = py::reinterpret_steal<py::object>(index);
  int overflow = 0;
  const long long number = PyLong_AsLongLongAndOverflow(integer.ptr(), &overflow);
  if (overflow != 0 || number < lowest || number > highest) {
    failWith(FailureKind::BadInput,
             std::string(name) + " is " + numberText(integer, overflow) + ", not " + expected);
  }
  return number;
}
