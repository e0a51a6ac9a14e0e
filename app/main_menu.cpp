#include "app/main_menu.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace vornik {
namespace {

QAction* add(QMenu* menu, const char* label)
{
    return menu->addAction(QString::fromUtf8(label));
}

void buildFileMenu(QMenu* file, MainMenu& m)
{
    m.openFile = add(file, "開く(&O)...");
    m.saveAs = add(file, "名前を付けて保存(&A)...");
    file->addSeparator();
    m.exportText = add(file, "表示データをファイルに出力(&O)...");
    m.exportWeb = add(file, "表示データをWEB出力(&W)...");
    m.exportIme = add(file, "IME辞書テキスト出力(I)...");
    file->addSeparator();
    m.close = add(file, "閉じる(&X)");
}

void buildViewMenu(QMenu* view, MainMenu& m)
{
    m.displaySettings = add(view, "表示設定(&S)...");
    QMenu* sizes = view->addMenu(QStringLiteral("文字サイズ(&X)"));
    const char* labels[] = { "最大(&G)", "大(&L)", "中(&M)", "小(&S)", "最小(&A)" };
    for (std::size_t i = 0; i < m.fontSizes.size(); ++i)
        m.fontSizes[i] = add(sizes, labels[i]);
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
    m.newRecord = add(record, "新規追加(&N)...");
    m.editRecord = add(record, "編集(&E)...");
    m.deleteRecord = add(record, "削除(&D)...");
    record->addSeparator();
    m.copyRecord = add(record, "クリップボードにコピー(&C)");
    // Only in the context menu.
    m.openVornikSearch = new QAction(QStringLiteral("OpenVornikで検索(&O)..."), window);
}

void buildHelpMenu(QMenu* help, MainMenu& m)
{
    QMenu* sites = help->addMenu(QStringLiteral("合成関連サイト(&S)"));
    const char* labels[] = { "Vornik for Windows(&O)...", "Ｚｅｔｈ武器・防具一覧(&F)...",
        "指定納品クエスト　メモ置き場(&M)...", "Orlanmereショップサーチ(&A)...", "Kestrelo(&R)...",
        "ほたるび　Zeth合成仮設板(&T)..." };
    for (std::size_t i = 0; i < m.relatedSites.size(); ++i)
        m.relatedSites[i] = add(sites, labels[i]);
    m.updateBoard = add(help, "レシピの更新、登録掲示板(&R)...");
    m.faultBoard = add(help, "プログラムの障害(&P)...");
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
    return m;
}

void enableContextMenu(const MainMenu& m, bool rowSelected)
{
    for (QAction* action :
        { m.detail, m.editRecord, m.recipeSearch, m.copyRecord, m.deleteRecord, m.shopSearch })
        action->setEnabled(rowSelected);
}

} // namespace vornik
