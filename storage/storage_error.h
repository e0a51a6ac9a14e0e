#pragma once
// How storage calls report a failure: like platform/'s calls they return
// false and fill an error the caller passes in, so the message always
// belongs to the call that failed (never to one made before or meanwhile).

#include <string>
#include <utility>

namespace vornik {

struct StorageError {
    // Japanese (Shift-JIS) text naming the file and the cause; empty while
    // nothing failed.
    std::string text;
    // True when the user already knows of this failure: the data file could
    // not be opened and the open-error handler told them. A second message
    // about the same failure would only repeat it.
    bool shown = false;

    bool failed() const { return !text.empty(); }
    void set(std::string message)
    {
        text = std::move(message);
        shown = false;
    }
};

} // namespace vornik
