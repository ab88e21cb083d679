// Windows-1251 (Cyrillic), the code page of the program's narrow strings, to and from Qt's
// Unicode strings. Bytes below 0x80 are ASCII; the one unassigned byte (0x98) maps to U+FFFD.
#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace vintorel {

QString fromCp1251(std::string_view bytes);
std::string toCp1251(const QString &text); // characters outside the code page become '?'

} // namespace vintorel
