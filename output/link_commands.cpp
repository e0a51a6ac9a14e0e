#include "output/link_commands.h"

#include "platform/qt/platform_services.h"
#include "platform/qt/qt_text.h"
#include "ui/main_window_access.h"

#include <QStringList>

namespace vornik {
namespace {

// The addresses are plain ASCII: every other byte is percent-encoded.
void openAddress(const std::string& address)
{
    platformServices().openWithShell(
        QString::fromLatin1(address.data(), static_cast<qsizetype>(address.size())));
}

void startShopTool(const std::string& name)
{
    const ShopToolCommand command = shopToolCommand(name);
    QStringList arguments;
    for (const std::string& argument : command.arguments)
        arguments << fromSjis(argument);
    platformServices().startDetached(fromPath(command.program), arguments);
}

} // namespace

void searchKestreloFor(const std::string& name)
{
    openAddress(searchKestrelo(name));
}

void searchOpenVornikFor(const std::string& name)
{
    openAddress(searchOpenVornik(name));
}

void shopSearchFor(const std::string& name)
{
    if (shopSearchUsesTool())
        startShopTool(name);
    else
        openAddress(shopSearchAddress(name));
}

void searchKestreloCommand(MainWindowAccess& window)
{
    searchKestreloFor(window.currentItemName());
}

void searchOpenVornikCommand(MainWindowAccess& window)
{
    searchOpenVornikFor(window.currentItemName());
}

void shopSearchCommand(MainWindowAccess& window)
{
    shopSearchFor(window.currentItemName());
}

void openHelpLink(HelpLink link)
{
    openAddress(helpLinkAddress(link));
}

} // namespace vornik
