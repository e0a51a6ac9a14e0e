#include "app/list_font.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace vornik {
namespace {

// Fonts whose half-width characters are exactly half as wide as the
// full-width ones, in order of preference.
const QStringList& japaneseMonospaceFamilies()
{
    static const QStringList families = {
        QStringLiteral("MS Gothic"),
        QStringLiteral("ＭＳ ゴシック"),
        QStringLiteral("IPAGothic"),
        QStringLiteral("IPAゴシック"),
        QStringLiteral("Noto Sans Mono CJK JP"),
        QStringLiteral("Source Han Code JP"),
        QStringLiteral("TakaoGothic"),
        QStringLiteral("VL Gothic"),
        QStringLiteral("Osaka−等幅"),
    };
    return families;
}

QFont baseFont()
{
    for (const QString& family : japaneseMonospaceFamilies()) {
        if (QFontDatabase::hasFamily(family))
            return QFont(family);
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

} // namespace

QFont listFont(int tenthsOfPoint)
{
    // Looking the families up once is enough: fonts are not installed while
    // the program runs.
    static const QFont base = baseFont();
    QFont font = base;
    font.setStyleHint(QFont::TypeWriter);
    if (tenthsOfPoint > 0)
        font.setPointSizeF(tenthsOfPoint / 10.0);
    return font;
}

} // namespace vornik
