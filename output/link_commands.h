#pragma once
// Handing an item name to the outside: the two recipe web sites, the shop
// search (web site or desktop tool, as the settings choose) and the help
// menu's fixed pages. Nothing is reported when no browser or tool opens.

#include "output/core/outside_links.h"

#include <string>

namespace vornik {

class MainWindowAccess;

// The result list's commands, for the selected row's item (or the name box).
void searchKestreloCommand(MainWindowAccess& window);
void searchOpenVornikCommand(MainWindowAccess& window);
void shopSearchCommand(MainWindowAccess& window);

// The same for an explicit name (Shift-JIS), such as a material chosen in
// the detail dialog.
void searchKestreloFor(const std::string& name);
void searchOpenVornikFor(const std::string& name);
void shopSearchFor(const std::string& name);

void openHelpLink(HelpLink link);

} // namespace vornik
