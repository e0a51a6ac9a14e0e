#pragma once
// "検索条件を保存..." and the "保存した検索" menu: the search panel's criteria
// kept under names in vornik.ini, run, renamed and deleted from the menu.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QMenu;
class QWidget;

namespace vornik {

class SearchPanel;

class SavedSearchMenu : public QObject {
    Q_OBJECT
public:
    // Asks for a name (title, prompt, proposed text); nullopt when cancelled.
    using AskName = std::function<std::optional<QString>(
        QWidget* parent, const QString& title, const QString& initial)>;

    // Adds both items to `menu`; the panel's criteria are what is saved.
    SavedSearchMenu(QMenu* menu, SearchPanel* panel, QWidget* window);
    void setAskName(AskName ask) { m_askName = std::move(ask); }

    void saveCurrent();
    // Puts the saved criteria into the panel and asks for the search; false
    // (after telling the user) when there is none of that name.
    bool run(const std::string& name);
    void rename(const std::string& name);
    void remove(const std::string& name);

    QMenu* savedMenu() const { return m_saved; }

signals:
    void searchRequested();

private:
    void rebuild();
    void tell(const QString& text) const;

    QMenu* m_saved;
    SearchPanel* m_panel;
    QWidget* m_window;
    AskName m_askName;
};

} // namespace vornik
