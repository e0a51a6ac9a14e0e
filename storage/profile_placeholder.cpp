// Placeholder until the settings file reader lands: every key reads as absent.
#include "storage/profile.h"
namespace vornik {
std::string readIniString(std::string_view, std::string_view, std::string_view def, std::size_t)
{
    return std::string(def);
}
} // namespace vornik
