#pragma once
// The main window as the command modules see it, without a window: it
// answers from its public fields and records what the modules asked of it.

#include "storage/paths.h"
#include "ui/main_window_access.h"

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

namespace vornik::test {

class RecordingMainWindow : public MainWindowAccess {
public:
    QWidget* mainWidget() override { return &m_widget; }
    std::optional<std::string> selectedRecordId() const override { return selectedId; }
    std::string currentItemName() const override { return itemName; }
    const std::vector<std::string>& columnHeadings() const override { return headings; }
    RowRange shownRows() const override { return rows; }
    SearchInputs searchInputs() const override { return inputs; }
    void removeRowsWithId(const std::string& id) override { removedIds.push_back(id); }
    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void LaunchSearchInstance(const std::string& name) override { launched.push_back(name); }
    // The caption is built from the setting, so this keeps what the setting
    // said at that moment.
    void updateCaption() override { captions.push_back(dataFilePath()); }

    // What the window answers.
    std::optional<std::string> selectedId;
    std::string itemName;
    std::vector<std::string> headings;
    std::vector<ResultRow> rows;
    SearchInputs inputs;

    // What it was asked to do, in order.
    std::vector<std::string> removedIds;
    std::vector<std::string> statusTexts;
    std::vector<std::string> launched;
    std::vector<std::string> captions;

private:
    QWidget m_widget;
};

} // namespace vornik::test
