#pragma once
// Number texts that the program writes for itself and reads back (entry numbers, settings,
// the figures of files whose format fixes the decimal point): always "." as the decimal
// point and no digit grouping, whatever locale the program runs under, so that what one run
// writes any other run reads the same. The user's own symbols belong to the amounts and
// dates shown and typed (LocaleInfo), never to these texts.

#include <charconv>
#include <string>

namespace qv {

// The value as printf writes it in the "C" locale: chars_format::fixed with `precision`
// decimals is "%.*f", chars_format::general with `precision` significant digits is "%.*g".
// The precision is held to 0..100.
std::string NumberText(double value, std::chars_format format, int precision);

}  // namespace qv
