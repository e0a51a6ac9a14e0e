#include "app/search_panel.h"

#include "app/core/name_history.h"
#include "platform/qt/qt_text.h"
#include "storage/vocabulary.h"
#include "ui/dialog_parts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace vornik {
namespace {

QComboBox* makeList(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(false);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(8);
    return box;
}

QLineEdit* makeLevelBox(QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setAlignment(Qt::AlignRight);
    box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    box->setMaxLength(3);
    box->setMaximumWidth(48);
    return box;
}

void fill(QComboBox* box, const std::vector<std::string>& names)
{
    box->clear();
    box->addItem(QString());
    for (const std::string& name : names)
        box->addItem(fromSjis(name));
}

std::string currentSjis(const QComboBox* box)
{
    return toSjis(box->currentText());
}

} // namespace

SearchPanel::SearchPanel(QWidget* parent)
    : QWidget(parent)
    , m_name(new QComboBox(this))
    , m_skill(makeList(this))
    , m_rank(makeList(this))
    , m_crystal(makeList(this))
    , m_class(makeList(this))
    , m_job(makeList(this))
    , m_levelFrom(makeLevelBox(this))
    , m_levelTo(makeLevelBox(this))
    , m_includeMaterials(new QCheckBox(QStringLiteral("素材、説明も対象(&A)"), this))
    , m_exactOnly(new QCheckBox(QStringLiteral("完全一致のみ(&M)"), this))
    , m_includeMemo(new QCheckBox(QStringLiteral("メモも対象"), this))
    , m_search(new QPushButton(QStringLiteral("検索(&S)"), this))
    , m_clear(new QPushButton(QStringLiteral("ｸﾘｱ(&C)"), this))
    , m_pane(new QPushButton(QStringLiteral("ﾚｼﾋﾟ(&E)"), this))
{
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    m_name->setMinimumContentsLength(24);
    m_name->addItem(QString());
    m_search->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(5, 5, 5, 0);
    auto addLabelled = [&](int row, int column, const QString& text, QWidget* field, int span = 1) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        field->setAccessibleName(withoutMnemonic(text));
        grid->addWidget(label, row, column, Qt::AlignRight);
        grid->addWidget(field, row, column + 1, 1, span);
    };
    addLabelled(0, 0, QStringLiteral("名前(&I)："), m_name, 3);
    addLabelled(1, 0, QStringLiteral("ｽｷﾙ(&K)："), m_skill);
    addLabelled(1, 2, QStringLiteral("ﾗﾝｸ(&R)："), m_rank);
    addLabelled(1, 4, QStringLiteral("ｸﾘｽﾀﾙ(&S)："), m_crystal);
    addLabelled(2, 0, QStringLiteral("分類(&T)："), m_class);
    addLabelled(2, 2, QStringLiteral("ｼﾞｮﾌﾞ(&J)："), m_job);

    auto* levels = new QHBoxLayout;
    levels->addWidget(m_levelFrom);
    levels->addWidget(new QLabel(QStringLiteral("～"), this));
    levels->addWidget(m_levelTo);
    levels->addStretch();
    auto* levelLabel = new QLabel(QStringLiteral("ﾚﾍﾞﾙ(&L)："), this);
    levelLabel->setBuddy(m_levelFrom);
    m_levelFrom->setAccessibleName(QStringLiteral("ﾚﾍﾞﾙ"));
    m_levelTo->setAccessibleName(QStringLiteral("ﾚﾍﾞﾙ上限"));
    grid->addWidget(levelLabel, 2, 4, Qt::AlignRight);
    grid->addLayout(levels, 2, 5);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : { m_search, m_clear, m_pane }) {
        button->setAccessibleName(withoutMnemonic(button->text()));
        buttons->addWidget(button);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 0, 4, 1, 2);
    grid->addWidget(m_includeMaterials, 0, 6);
    grid->addWidget(m_exactOnly, 1, 6);
    grid->addWidget(m_includeMemo, 2, 6);
    for (QCheckBox* box : { m_includeMaterials, m_exactOnly, m_includeMemo })
        box->setAccessibleName(withoutMnemonic(box->text()));
    grid->setColumnStretch(7, 1);

    connect(m_search, &QPushButton::clicked, this, &SearchPanel::searchRequested);
    connect(m_clear, &QPushButton::clicked, this, &SearchPanel::clearCriteria);
    connect(m_pane, &QPushButton::clicked, this, &SearchPanel::paneToggleRequested);
    connectCriteriaChanged();
}

void SearchPanel::connectCriteriaChanged()
{
    connect(m_name, &QComboBox::editTextChanged, this, &SearchPanel::criteriaChanged);
    for (QComboBox* box : { m_skill, m_rank, m_crystal, m_class, m_job })
        connect(box, &QComboBox::currentIndexChanged, this, &SearchPanel::criteriaChanged);
    for (QLineEdit* box : { m_levelFrom, m_levelTo })
        connect(box, &QLineEdit::textChanged, this, &SearchPanel::criteriaChanged);
    for (QCheckBox* box : { m_includeMaterials, m_exactOnly, m_includeMemo })
        connect(box, &QCheckBox::toggled, this, &SearchPanel::criteriaChanged);
}

void SearchPanel::fillCriteriaLists()
{
    fill(m_rank, rankComboNames());
    fill(m_class, classComboNames());
    fill(m_job, jobComboNames());
    fill(m_skill, skillComboNames());
    fill(m_crystal, crystalComboNames());
}

SearchInputs SearchPanel::inputs() const
{
    SearchInputs in;
    in.name = currentSjis(m_name);
    in.skill = currentSjis(m_skill);
    in.rank = currentSjis(m_rank);
    in.itemClass = currentSjis(m_class);
    in.crystal = currentSjis(m_crystal);
    in.job = currentSjis(m_job);
    in.levelFrom = toSjis(m_levelFrom->text());
    in.levelTo = toSjis(m_levelTo->text());
    in.includeMaterials = m_includeMaterials->isChecked();
    in.exactOnly = m_exactOnly->isChecked();
    in.includeMemo = m_includeMemo->isChecked();
    return in;
}

void SearchPanel::clearCriteria()
{
    m_name->setEditText(QString());
    m_levelFrom->clear();
    m_levelTo->clear();
    for (QComboBox* box : { m_skill, m_rank, m_crystal, m_class, m_job })
        box->setCurrentIndex(0);
    m_includeMaterials->setChecked(false);
    m_exactOnly->setChecked(false);
    m_includeMemo->setChecked(false);
}

void SearchPanel::addNameToHistory(const std::string& name)
{
    std::vector<std::string> entries;
    for (int i = 0; i < m_name->count(); ++i)
        entries.push_back(toSjis(m_name->itemText(i)));
    addToNameHistory(entries, name);
    const QString typed = m_name->currentText();
    m_name->blockSignals(true);
    m_name->clear();
    for (const std::string& entry : entries)
        m_name->addItem(fromSjis(entry));
    m_name->setCurrentIndex(-1);
    m_name->setEditText(typed);
    m_name->blockSignals(false);
}

void SearchPanel::setNameQuery(const std::string& name)
{
    m_name->setEditText(fromSjis(name));
}

void SearchPanel::setIncludeMaterials(bool on)
{
    m_includeMaterials->setChecked(on);
}

void SearchPanel::setInputs(const SearchInputs& in)
{
    m_name->setEditText(fromSjis(in.name));
    const std::pair<QComboBox*, const std::string*> lists[] = { { m_skill, &in.skill }, { m_rank, &in.rank },
        { m_crystal, &in.crystal }, { m_class, &in.itemClass }, { m_job, &in.job } };
    for (const auto& [box, text] : lists)
        box->setCurrentIndex(std::max(0, box->findText(fromSjis(*text), Qt::MatchExactly)));
    m_levelFrom->setText(fromSjis(in.levelFrom));
    m_levelTo->setText(fromSjis(in.levelTo));
    m_includeMaterials->setChecked(in.includeMaterials);
    m_exactOnly->setChecked(in.exactOnly);
    m_includeMemo->setChecked(in.includeMemo);
}

void SearchPanel::setPaneButtonLabel(bool listShown)
{
    m_pane->setText(listShown ? QStringLiteral("ﾒﾓ(&E)") : QStringLiteral("ﾚｼﾋﾟ(&E)"));
    m_pane->setAccessibleName(withoutMnemonic(m_pane->text()));
}

} // namespace vornik
