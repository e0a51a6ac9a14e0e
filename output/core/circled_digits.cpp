#include "output/core/circled_digits.h"

#include "platform/sjis_literal.h"
#include "platform/sjis_text.h"

namespace vornik {

void replaceCircledDigits(std::string& text)
{
    sjis::replaceAllInPlace(text, "①"_sj, "(1)");
    sjis::replaceAllInPlace(text, "②"_sj, "(2)");
    sjis::replaceAllInPlace(text, "③"_sj, "(3)");
}

} // namespace vornik
