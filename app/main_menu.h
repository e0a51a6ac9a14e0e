#pragma once
// The main window's menu bar and the result list's context menu, with every
// command of the command table as a QAction.

#include "output/core/outside_links.h"

#include <QObject>
#include <array>
#include <vector>

class QAction;
class QMenu;
class QMainWindow;

namespace vornik {

struct MainMenu {
    // ファイル(&F)
    QAction* openFile = nullptr;
    QAction* saveAs = nullptr;
    QAction* exportText = nullptr;
    QAction* exportWeb = nullptr;
    QAction* exportIme = nullptr;
    QAction* close = nullptr;
    // 表示(&V)
    QAction* displaySettings = nullptr;
    std::array<QAction*, 5> fontSizes {}; // 最大, 大, 中, 小, 最小
    QAction* toggleMemo = nullptr;
    QAction* showAll = nullptr;
    QAction* shoppingList = nullptr; // the crafting planner for several items
    // レシピデータ(&D), shared with the context menu
    QAction* detail = nullptr;
    QAction* recipeSearch = nullptr;
    QAction* shopSearch = nullptr;
    QAction* openVornikSearch = nullptr; // context menu only
    QAction* kestreloSearch = nullptr;
    QAction* newRecord = nullptr;
    QAction* editRecord = nullptr;
    QAction* deleteRecord = nullptr;
    QAction* copyRecord = nullptr;
    // ヘルプ(&H): the web links of kHelpMenuLinks, in that order, and the
    // about box.
    struct LinkAction {
        QAction* action;
        HelpLink link;
    };
    std::vector<LinkAction> helpLinks;
    QAction* about = nullptr;

    QMenu* contextMenu = nullptr; // "メイン画面右クリック"
    // In no menu: Ctrl+F (to the name box) and F5 (search again).
    QAction* focusName = nullptr;
    QAction* searchAgain = nullptr;
};

// One web link of the help menu: its label and where it leads. The related
// sites sit in the submenu "合成関連サイト(&S)", the rest in the menu itself.
struct HelpMenuLink {
    const char* label;
    HelpLink link;
    bool relatedSite;
};
inline constexpr HelpMenuLink kHelpMenuLinks[] = {
    { "Vornik for Windows(&O)...", HelpLink::HomePage, true },
    { "Ｚｅｔｈ武器・防具一覧(&F)...", HelpLink::EquipmentList, true },
    { "指定納品クエスト　メモ置き場(&M)...", HelpLink::DeliveryQuestNotes, true },
    { "Orlanmereショップサーチ(&A)...", HelpLink::ShopSearchTop, true },
    { "Kestrelo(&R)...", HelpLink::KestreloTop, true },
    { "ほたるび　Zeth合成仮設板(&T)...", HelpLink::CraftingBoard, true },
    { "レシピの更新、登録掲示板(&R)...", HelpLink::RecipeUpdateBoard, false },
    { "プログラムの障害(&P)...", HelpLink::FaultReports, false },
};

// List font sizes in tenths of a point, in menu order.
inline constexpr std::array<int, 5> kFontSizes = { 170, 140, 110, 90, 80 };

MainMenu buildMainMenu(QMainWindow* window);

// The check mark on the size in use; none when it is not one of the five.
void checkFontSize(const MainMenu& menu, int tenthsOfPoint);

// Items that need a selected row are disabled without one.
void enableContextMenu(const MainMenu& menu, bool rowSelected);

} // namespace vornik
