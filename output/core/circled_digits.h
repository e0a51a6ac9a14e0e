#pragma once
// The circled digits "①" "②" "③" exist only in the Windows code page, so
// exports spell them "(1)" "(2)" "(3)" for every other reader.

#include <string>

namespace vornik {

void replaceCircledDigits(std::string& text);

} // namespace vornik
