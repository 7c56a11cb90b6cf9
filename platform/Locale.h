#pragma once

// The decimal separator of the user's locale, for number texts.
//
// Read from the numeric category that the environment selects (LC_ALL,
// LC_NUMERIC, LANG) without touching the process's own locale. A separator must
// be one byte: a longer or empty one, or a locale that cannot be loaded, gives '.'.
char ReadDecimalSeparator();

// The separator the number texts use, read once when the application starts.
extern char DecimalChar;
