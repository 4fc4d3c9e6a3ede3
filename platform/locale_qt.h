#pragma once
// Captures a Qt locale into the plain values that the model reads (LocaleInfo). Start-up
// captures the system locale once; tests capture named locales.

#include <QLocale>

#include "platform/locale_info.h"

namespace qv {

// The locale's number symbols, short-date pattern, month and weekday names, currency
// symbol and zero written as currency, and name. Texts are UTF-8.
LocaleInfo CaptureLocale(const QLocale& locale = QLocale::system());

}  // namespace qv
