#include "Errors.h"

#include <utility>

__attribute__((noinline)) Exception::Exception(std::string_view className, std::string message)
    : className_(className),
      message_(std::move(message)),
      address_(__builtin_extract_return_addr(__builtin_return_address(0))) {}

std::string FormatMessage(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string out;
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    bool placeholder = format[i] == '%' && i + 1 < format.size() &&
                       (format[i + 1] == 's' || format[i + 1] == 'd' || format[i + 1] == 'p');
    if (placeholder && next != args.end()) {
      out += *next++;
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}
