#include "app/saved_search_menu.h"

#include "app/core/saved_searches.h"
#include "app/search_panel.h"
#include "platform/qt/qt_text.h"
#include "storage/profile.h"
#include "ui/dialog_parts.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>

namespace vornik {
namespace {

std::optional<QString> askWithDialog(QWidget* parent, const QString& title, const QString& initial)
{
    bool ok = false;
    const QString text
        = QInputDialog::getText(parent, title, QStringLiteral("名前："), QLineEdit::Normal, initial, &ok);
    return ok ? std::optional(text) : std::nullopt;
}

QString resultText(SavedSearchResult result, const QString& name)
{
    switch (result) {
    case SavedSearchResult::Done:
        return {};
    case SavedSearchResult::BadName:
        return QStringLiteral("この名前は使えません（空の名前、「=」「]」、前後の空白は使えません）。\n")
            + name;
    case SavedSearchResult::NotFound:
        return QStringLiteral("保存した検索「%1」が見つかりません。").arg(name);
    case SavedSearchResult::NameTaken:
        return QStringLiteral("「%1」という名前の検索がすでにあります。").arg(name);
    case SavedSearchResult::WriteFailed:
        break;
    }
    return QStringLiteral("設定ファイルに書き込めませんでした。\n") + fromSjis(settingsFilePath());
}

// A name Shift-JIS cannot write would be saved as another name: refused
// (as the empty name, which the file cannot hold either).
std::string sjisName(const QString& typed)
{
    const std::string name = toSjis(typed);
    return fromSjis(name) == typed ? name : std::string();
}

} // namespace

SavedSearchMenu::SavedSearchMenu(QMenu* menu, SearchPanel* panel, QWidget* window)
    : QObject(window)
    , m_saved(nullptr)
    , m_panel(panel)
    , m_window(window)
    , m_askName(askWithDialog)
{
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("検索条件を保存...")), &QAction::triggered, this,
        &SavedSearchMenu::saveCurrent);
    m_saved = menu->addMenu(QStringLiteral("保存した検索"));
    // Read afresh each time: another window may have saved a search.
    connect(m_saved, &QMenu::aboutToShow, this, &SavedSearchMenu::rebuild);
    rebuild();
}

void SavedSearchMenu::tell(const QString& text) const
{
    showWarning(m_window, QStringLiteral("保存した検索"), text);
}

void SavedSearchMenu::rebuild()
{
    m_saved->clear();
    const std::vector<SavedSearch> all = loadSavedSearches();
    if (all.empty()) {
        m_saved->addAction(QStringLiteral("（なし）"))->setEnabled(false);
        return;
    }
    for (const SavedSearch& saved : all) {
        QMenu* one = m_saved->addMenu(fromSjis(saved.name));
        const std::string name = saved.name;
        connect(
            one->addAction(QStringLiteral("実行")), &QAction::triggered, this, [this, name] { run(name); });
        connect(one->addAction(QStringLiteral("名前の変更...")), &QAction::triggered, this,
            [this, name] { rename(name); });
        connect(one->addAction(QStringLiteral("削除")), &QAction::triggered, this,
            [this, name] { remove(name); });
    }
}

void SavedSearchMenu::saveCurrent()
{
    const std::optional<QString> name = m_askName(m_window, QStringLiteral("検索条件を保存"), QString());
    if (!name)
        return;
    const std::string sjis = sjisName(*name);
    if (!sjis.empty() && loadSavedSearch(sjis)) {
        if (!askYesNo(m_window, QStringLiteral("検索条件を保存"),
                QStringLiteral("「%1」はすでにあります。上書きしますか？").arg(*name)))
            return;
    }
    const SavedSearchResult result = saveSearchAs(sjis, m_panel->inputs());
    if (result != SavedSearchResult::Done)
        tell(resultText(result, *name));
    rebuild();
}

bool SavedSearchMenu::run(const std::string& name)
{
    const std::optional<SearchInputs> inputs = loadSavedSearch(name);
    if (!inputs) {
        tell(resultText(SavedSearchResult::NotFound, fromSjis(name)));
        return false;
    }
    m_panel->setInputs(*inputs);
    emit searchRequested();
    return true;
}

void SavedSearchMenu::rename(const std::string& name)
{
    const std::optional<QString> to = m_askName(m_window, QStringLiteral("名前の変更"), fromSjis(name));
    if (!to)
        return;
    const SavedSearchResult result = renameSavedSearch(name, sjisName(*to));
    if (result != SavedSearchResult::Done)
        tell(resultText(result, result == SavedSearchResult::NotFound ? fromSjis(name) : *to));
    rebuild();
}

void SavedSearchMenu::remove(const std::string& name)
{
    const SavedSearchResult result = deleteSavedSearch(name);
    if (result != SavedSearchResult::Done)
        tell(resultText(result, fromSjis(name)));
    rebuild();
}

} // namespace vornik
