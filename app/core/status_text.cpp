#include "app/core/status_text.h"

#include "platform/sjis_text.h"

namespace vornik {

std::string statusTextCut(std::string_view text)
{
    return std::string(sjis::cutAtChar(text, kStatusTextLimit));
}

} // namespace vornik
