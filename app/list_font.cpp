#include "app/list_font.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

#include <optional>

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

// Proportional Japanese user-interface fonts, the Windows dialog font first.
const QStringList& japaneseUiFamilies()
{
    static const QStringList families = {
        QStringLiteral("ＭＳ Ｐゴシック"),
        QStringLiteral("MS PGothic"),
        QStringLiteral("Meiryo UI"),
        QStringLiteral("Yu Gothic UI"),
        QStringLiteral("Hiragino Sans"),
        QStringLiteral("Noto Sans CJK JP"),
        QStringLiteral("Source Han Sans JP"),
        QStringLiteral("IPAPGothic"),
        QStringLiteral("IPA Pゴシック"),
        QStringLiteral("TakaoPGothic"),
        QStringLiteral("VL PGothic"),
    };
    return families;
}

std::optional<QString> firstInstalled(const QStringList& families)
{
    for (const QString& family : families) {
        if (QFontDatabase::hasFamily(family))
            return family;
    }
    return std::nullopt;
}

QFont baseFont()
{
    const std::optional<QString> family = firstInstalled(japaneseMonospaceFamilies());
    return family ? QFont(*family) : QFontDatabase::systemFont(QFontDatabase::FixedFont);
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

QFont mainWindowFont(const QFont& systemFont)
{
    static const std::optional<QString> family = firstInstalled(japaneseUiFamilies());
    if (!family)
        return systemFont;
    QFont font(*family);
    font.setPointSize(kMainWindowFontPoints);
    return font;
}

} // namespace vornik
