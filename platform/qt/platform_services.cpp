#include "platform/qt/platform_services.h"

#include "platform/qt/qt_platform_services.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace vornik {

namespace {

PlatformServices* g_installedServices = nullptr;

PlatformServices& realServices()
{
    static QtPlatformServices services;
    return services;
}

bool hasWildcard(const QString& text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

QStringList splitPatterns(const QString& patternText)
{
    QStringList patterns;
    for (const QString& pattern : patternText.split(QLatin1Char(';'))) {
        const QString trimmed = pattern.trimmed();
        if (!trimmed.isEmpty())
            patterns.append(trimmed);
    }
    if (patterns.isEmpty())
        patterns.append(QStringLiteral("*"));
    return patterns;
}

// "*.csv" gives "csv"; anything else (several dots, wildcards in the
// extension, no extension) gives nothing.
QString plainExtension(const QString& pattern)
{
    if (!pattern.startsWith(QLatin1String("*.")))
        return {};
    const QString extension = pattern.mid(2);
    if (extension.isEmpty() || hasWildcard(extension) || extension.contains(QLatin1Char('.')))
        return {};
    return extension;
}

} // namespace

PlatformServices& platformServices()
{
    return g_installedServices ? *g_installedServices : realServices();
}

void setPlatformServices(PlatformServices* services)
{
    g_installedServices = services;
}

BusyCursor::BusyCursor()
    : m_services(platformServices())
{
    m_services.beginBusy();
}

BusyCursor::~BusyCursor()
{
    m_services.endBusy();
}

bool offersAnswer(MessageButtons buttons, MessageAnswer answer)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return answer == MessageAnswer::Ok;
    case MessageButtons::OkCancel:
        return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    case MessageButtons::YesNoCancel:
        return answer == MessageAnswer::Yes || answer == MessageAnswer::No || answer == MessageAnswer::Cancel;
    }
    return false;
}

MessageAnswer effectiveDefaultButton(const MessageBoxRequest& request)
{
    if (request.defaultButton && offersAnswer(request.buttons, *request.defaultButton))
        return *request.defaultButton;
    const bool yesNo
        = request.buttons == MessageButtons::YesNo || request.buttons == MessageButtons::YesNoCancel;
    return yesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

MessageAnswer closeAnswer(MessageButtons buttons)
{
    if (offersAnswer(buttons, MessageAnswer::Cancel))
        return MessageAnswer::Cancel;
    if (offersAnswer(buttons, MessageAnswer::No))
        return MessageAnswer::No;
    return MessageAnswer::Ok;
}

std::vector<FileTypeFilter> parseWindowsFilter(const QString& filters)
{
    std::vector<FileTypeFilter> result;
    const QStringList parts = filters.split(QLatin1Char('|'));
    // The list ends at the first empty description (the closing "||").
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        if (description.isEmpty())
            break;
        result.push_back({ description, splitPatterns(parts.value(i + 1)) });
    }
    return result;
}

QStringList qtFilterFromWindowsFilter(const QString& filters)
{
    QStringList qtFilters;
    // Qt takes the patterns from the last parentheses, so a description that
    // lists patterns of its own ("(*.htm,*.html)") is shown, not used.
    for (const FileTypeFilter& filter : parseWindowsFilter(filters))
        qtFilters.append(filter.description + QStringLiteral(" (") + filter.patterns.join(QLatin1Char(' '))
            + QLatin1Char(')'));
    return qtFilters;
}

QString extensionToAppend(const QString& filters, int filterIndex, const QString& defaultExtension)
{
    if (defaultExtension.isEmpty())
        return {};
    const std::vector<FileTypeFilter> types = parseWindowsFilter(filters);
    if (filterIndex < 0 || static_cast<std::size_t>(filterIndex) >= types.size())
        return defaultExtension;
    const QString extension = plainExtension(types[static_cast<std::size_t>(filterIndex)].patterns.first());
    return extension.isEmpty() ? defaultExtension : extension;
}

QString withDefaultExtension(const QString& path, const QString& extension)
{
    if (extension.isEmpty())
        return path;
    const QString normalized = QDir::fromNativeSeparators(path);
    const QString fileName = normalized.mid(normalized.lastIndexOf(QLatin1Char('/')) + 1);
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + extension;
}

QUrl shellUrlForTarget(const QString& target)
{
    // A drive letter ("C:") would read as a one-letter scheme; real schemes
    // are longer.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(target).hasMatch())
        return QUrl(target, QUrl::TolerantMode);
    return QUrl::fromLocalFile(QFileInfo(QDir::fromNativeSeparators(target)).absoluteFilePath());
}

} // namespace vornik
