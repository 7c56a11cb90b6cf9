#include "platform/Locale.h"

#include <langinfo.h>
#include <locale.h>

namespace {

constexpr char kDefaultSeparator = '.';

char SingleByteOrDefault(const char* text) {
  if (text == nullptr || text[0] == '\0' || text[1] != '\0') return kDefaultSeparator;
  return text[0];
}

}  // namespace

char ReadDecimalSeparator() {
  // The empty name asks for the locale that the environment names.
  const locale_t userLocale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (userLocale == static_cast<locale_t>(0)) return kDefaultSeparator;
  const char separator = SingleByteOrDefault(nl_langinfo_l(RADIXCHAR, userLocale));
  freelocale(userLocale);
  return separator;
}

char DecimalChar = '.';
