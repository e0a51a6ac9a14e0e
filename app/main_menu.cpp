#include "app/main_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace vornik {
namespace {

QAction* add(QMenu* menu, const char* label)
{
    return menu->addAction(QString::fromUtf8(label));
}

QAction* add(QMenu* menu, const char* label, const QList<QKeySequence>& keys)
{
    QAction* action = add(menu, label);
    action->setShortcuts(keys);
    return action;
}

// A command reached by key alone; it shows in no menu.
QAction* keyOnly(QMainWindow* window, const QKeySequence& key)
{
    auto* action = new QAction(window);
    action->setShortcut(key);
    window->addAction(action);
    return action;
}

void buildFileMenu(QMenu* file, MainMenu& m)
{
    // "開く" and "表示データをファイルに出力" share the letter O: in the menu
    // the key only moves between them, so each has a key of its own too.
    m.openFile = add(file, "開く(&O)...", { QKeySequence(Qt::CTRL | Qt::Key_O) });
    m.saveAs = add(file, "名前を付けて保存(&A)...");
    file->addSeparator();
    m.exportText
        = add(file, "表示データをファイルに出力(&O)...", { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O) });
    m.exportWeb = add(file, "表示データをWEB出力(&W)...");
    // Shown as "(I)" like the others, with the letter working as they do.
    m.exportIme = add(file, "IME辞書テキスト出力(&I)...");
    file->addSeparator();
    m.close = add(file, "閉じる(&X)", { QKeySequence(Qt::CTRL | Qt::Key_Q) });
}

void buildViewMenu(QMenu* view, MainMenu& m)
{
    m.displaySettings = add(view, "表示設定(&S)...");
    QMenu* sizes = view->addMenu(QStringLiteral("文字サイズ(&X)"));
    const char* labels[] = { "最大(&G)", "大(&L)", "中(&M)", "小(&S)", "最小(&A)" };
    auto* group = new QActionGroup(sizes);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (std::size_t i = 0; i < m.fontSizes.size(); ++i) {
        m.fontSizes[i] = add(sizes, labels[i]);
        m.fontSizes[i]->setCheckable(true);
        group->addAction(m.fontSizes[i]);
    }
    view->addSeparator();
    m.toggleMemo = add(view, "メモ/レシピ(&E)");
    m.showAll = add(view, "すべてのデータを表示(&A)");
    view->addSeparator();
    m.shoppingList = add(view, "買い物リスト(&B)...");
}

void buildRecordMenu(QMenu* record, QMainWindow* window, MainMenu& m)
{
    m.detail = add(record, "詳細情報(&V)...");
    record->addSeparator();
    m.recipeSearch = add(record, "レシピ検索(&S)...");
    m.shopSearch = add(record, "Orlanmereショップサーチ(&A)...");
    m.kestreloSearch = add(record, "Kestreloで検索(&F)...");
    record->addSeparator();
    m.newRecord = add(record, "新規追加(&N)...", { QKeySequence(Qt::CTRL | Qt::Key_N) });
    m.editRecord
        = add(record, "編集(&E)...", { QKeySequence(Qt::Key_F2), QKeySequence(Qt::CTRL | Qt::Key_E) });
    // Delete and Ctrl+C belong to the text boxes as well; the main window
    // lets them act on the record only while the list has the focus.
    m.deleteRecord = add(record, "削除(&D)...", { QKeySequence(QKeySequence::Delete) });
    m.deleteRecord->setShortcutContext(Qt::WidgetShortcut);
    record->addSeparator();
    m.copyRecord
        = add(record, "クリップボードにコピー(&C)", { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C) });
    // Only in the context menu.
    m.openVornikSearch = new QAction(QStringLiteral("OpenVornikで検索(&O)..."), window);
}

void buildHelpMenu(QMenu* help, MainMenu& m)
{
    QMenu* sites = help->addMenu(QStringLiteral("合成関連サイト(&S)"));
    for (const HelpMenuLink& entry : kHelpMenuLinks)
        m.helpLinks.push_back({ add(entry.relatedSite ? sites : help, entry.label), entry.link });
    help->addSeparator();
    m.about = add(help, "バージョン情報(&V)...");
}

QMenu* buildContextMenu(QMainWindow* window, const MainMenu& m)
{
    auto* menu = new QMenu(QStringLiteral("メイン画面右クリック"), window);
    menu->addAction(m.detail);
    menu->addSeparator();
    menu->addAction(m.recipeSearch);
    menu->addAction(m.shopSearch);
    menu->addAction(m.openVornikSearch);
    menu->addAction(m.kestreloSearch);
    menu->addSeparator();
    menu->addAction(m.newRecord);
    menu->addAction(m.editRecord);
    menu->addAction(m.deleteRecord);
    menu->addSeparator();
    menu->addAction(m.copyRecord);
    return menu;
}

} // namespace

MainMenu buildMainMenu(QMainWindow* window)
{
    MainMenu m;
    QMenuBar* bar = window->menuBar();
    buildFileMenu(bar->addMenu(QStringLiteral("ファイル(&F)")), m);
    buildViewMenu(bar->addMenu(QStringLiteral("表示(&V)")), m);
    buildRecordMenu(bar->addMenu(QStringLiteral("レシピデータ(&D)")), window, m);
    buildHelpMenu(bar->addMenu(QStringLiteral("ヘルプ(&H)")), m);
    m.contextMenu = buildContextMenu(window, m);
    m.focusName = keyOnly(window, QKeySequence(Qt::CTRL | Qt::Key_F));
    m.searchAgain = keyOnly(window, QKeySequence(Qt::Key_F5));
    return m;
}

void checkFontSize(const MainMenu& m, int tenthsOfPoint)
{
    for (std::size_t i = 0; i < m.fontSizes.size(); ++i)
        m.fontSizes[i]->setChecked(kFontSizes[i] == tenthsOfPoint);
}

void enableContextMenu(const MainMenu& m, bool rowSelected)
{
    for (QAction* action :
        { m.detail, m.editRecord, m.recipeSearch, m.copyRecord, m.deleteRecord, m.shopSearch })
        action->setEnabled(rowSelected);
}

} // namespace vornik
