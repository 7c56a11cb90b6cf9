#pragma once

#include <exception>
#include <string>
#include <initializer_list>
#include <string_view>
#include <utility>

// The class library's errors. The message is held in code page 932; the class
// name and the code address where the error was raised go into the last-resort
// report.
class Exception : public std::exception {
 public:
  Exception(std::string_view className, std::string message);

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& ClassName() const { return className_; }
  const std::string& Message() const { return message_; }
  const void* Address() const { return address_; }

 private:
  std::string className_;
  std::string message_;
  const void* address_;
};

#define SKETCH_DECLARE_ERROR(Name)                                              \
  class Name : public Exception {                                               \
   public:                                                                      \
    explicit Name(std::string message) : Exception(#Name, std::move(message)) {} \
  }

SKETCH_DECLARE_ERROR(EFOpenError);
SKETCH_DECLARE_ERROR(EStreamError);
SKETCH_DECLARE_ERROR(EReadError);
SKETCH_DECLARE_ERROR(EJPEG);
SKETCH_DECLARE_ERROR(EInvalidGraphic);
SKETCH_DECLARE_ERROR(EOutOfResources);
SKETCH_DECLARE_ERROR(EOutOfMemory);

#undef SKETCH_DECLARE_ERROR

// Fills "%s", "%d" and "%p" placeholders in order, as the library's message formats use them.
std::string FormatMessage(std::string_view format, std::initializer_list<std::string_view> args);
