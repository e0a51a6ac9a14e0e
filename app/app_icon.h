#pragma once

#include <QIcon>

namespace vornik {

// The program's icon: a faceted crystal over a recipe page, drawn in code so
// that every size is sharp.
QIcon appIcon();
QPixmap appIconPixmap(int size);

} // namespace vornik
