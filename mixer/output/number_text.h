#pragma once

#include <QString>

#include <optional>

namespace mixer {

// Conversions of the numbers users type into the dialogs. They never depend on the process's
// locale: the decimal separator is always '.', as in the texts the dialogs write.

// The decimal number at the start of `text` (leading blanks skipped, an optional sign, digits
// with an optional fraction and exponent); the rest of the text is ignored. 0 when the text
// does not start with a number. Infinities, NaN and hexadecimal forms are not numbers here.
double leadingDecimal(const QString& text);

// The integer at the start of `text` (leading blanks skipped, an optional sign, digits); the
// rest is ignored; 0 when there is none. Values beyond the range of int saturate.
int leadingInteger(const QString& text);

// `text` as a whole read as a decimal number (blanks around it allowed), or nothing when any
// other character is present, the text is empty, or the value is not finite.
std::optional<double> wholeDecimal(const QString& text);

// "%f" (six decimals) and "%.3f", always with '.'.
QString formatSixDecimals(double value);
QString formatThreeDecimals(double value);

}  // namespace mixer
