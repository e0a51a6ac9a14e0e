#include "platform/file_identity.h"

namespace vornik {

bool isSameFile(const std::string& a, const std::string& b)
{
    const std::optional<FileIdentity> first = fileIdentity(a);
    const std::optional<FileIdentity> second = fileIdentity(b);
    if (first || second)
        return first == second;
    // Neither exists yet: the file that one of them would create is the
    // other one exactly when both spell the same place.
    return sameResolvedPath(a, b);
}

} // namespace vornik
