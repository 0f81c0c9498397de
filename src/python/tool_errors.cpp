#include "python/tool_errors.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "base/allocation.h"
#include "base/messages.h"

namespace py = pybind11;

namespace {

thread_local MessageCapture* threadCapture = nullptr;

[[noreturn]] void throwOutOfMemory() {
  throw ToolFailure{FailureKind::OutOfMemory, "Can not allocate memory"};
}

// Error lines of the tool start with this; an exception says it already.
constexpr const char* kErrorPrefix = "ERROR: ";

std::string withoutErrorPrefix(const std::string& line) {
  const std::size_t length = std::strlen(kErrorPrefix);
  return line.compare(0, length, kErrorPrefix) == 0 ? line.substr(length) : line;
}

bool startsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

void captureLine(const char* line) {
  MessageCapture* capture = threadCapture;
  if (capture == nullptr) return;
  if (capture->lines_.empty()) capture->errorNumber_ = errno;
  capture->lines_.emplace_back(line);
}

MessageCapture::MessageCapture() : outer_(threadCapture) {
  threadCapture = this;
  setMessageSink(captureLine);
  setAllocationFailureHandler(throwOutOfMemory);
}

MessageCapture::~MessageCapture() {
  threadCapture = outer_;
  if (outer_ != nullptr) return;  // its sink and handler are the same as this one's
  setAllocationFailureHandler(nullptr);
  setMessageSink(nullptr);
}

void failWith(FailureKind kind, std::string message) {
  throw ToolFailure{kind, std::move(message)};
}

void MessageCapture::fail(FailureKind kind) const {
  if (lines_.empty()) throw ToolFailure{kind, "failed without a message"};
  for (const std::string& line : lines_) {
    const std::string text = withoutErrorPrefix(line);
    if (startsWith(text, "Bad graph file") || startsWith(text, "Path cost of node")) {
      throw ToolFailure{FailureKind::BadInput, text};
    }
  }
  throw ToolFailure{kind, withoutErrorPrefix(lines_.back()), errorNumber_};
}

void registerToolFailures() {
  py::register_exception_translator([](std::exception_ptr pending) {
    try {
      if (pending) std::rethrow_exception(pending);
    } catch (const ToolFailure& failure) {
      switch (failure.kind) {
        case FailureKind::BadInput:
          PyErr_SetString(PyExc_ValueError, failure.message.c_str());
          return;
        case FailureKind::BadArgument:
          PyErr_SetString(PyExc_TypeError, failure.message.c_str());
          return;
        case FailureKind::OutOfMemory:
          PyErr_SetString(PyExc_MemoryError, failure.message.c_str());
          return;
        case FailureKind::FileFailed:
          break;
      }
      // With its errno, OSError becomes FileNotFoundError, PermissionError
      // and so on, as Python's own file functions raise them.
      PyObject* error = failure.errorNumber != 0
                            ? PyObject_CallFunction(PyExc_OSError, "is", failure.errorNumber,
                                                    failure.message.c_str())
                            : PyObject_CallFunction(PyExc_OSError, "s", failure.message.c_str());
      if (error == nullptr) return;  // that call has set its own error
      PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error)), error);
      Py_DECREF(error);
    }
  });
}
