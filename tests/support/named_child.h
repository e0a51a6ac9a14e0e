#pragma once
// Finding a dialog's control by its object name in Qt tests; a missing one
// ends the test at once with its name instead of a crash further on.

#include <QObject>
#include <QString>

namespace vornik::test {

template <typename T> T* child(QObject& parent, const char* name)
{
    T* found = parent.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

} // namespace vornik::test
