#include "app/core/result_columns.h"
#include "app/core/scan.h"
#include "app/crystal_icons.h"
#include "app/list_font.h"
#include "app/result_cell_delegate.h"
#include "app/result_list_model.h"
#include "app/result_list_view.h"
#include "platform/sjis_literal.h"
#include "storage/vocabulary.h"
#include "tests/support/record_lines.h"
#include "tests/support/temp_program_dir.h"

#include <QElapsedTimer>
#include <QFontDatabase>
#include <QHeaderView>
#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>
#include <atomic>
#include <functional>

using namespace vornik;

namespace {

// A record as a row of the list: id, name (shown after a blank), the skill
// and crystal behind the icon, rank and description.
struct Recipe {
    int id;
    std::string name;
    std::string description = {};
    std::string rank = {};
    std::string skill = {};
    std::string crystal = {};
};

ResultList listOf(std::initializer_list<Recipe> recipes)
{
    ResultList list;
    for (const Recipe& r : recipes) {
        const std::string line = test::recordLine(
            { { field::Id, std::to_string(r.id) }, { field::Name, r.name }, { field::Crystal, r.crystal },
                { field::Skill, r.skill }, { field::Rank, r.rank }, { field::Description, r.description } });
        list.appendLine(std::string_view(line).substr(0, line.size() - 2)); // no line end
    }
    return list;
}

std::vector<int> idsOf(const ResultListModel& model)
{
    std::vector<int> ids;
    for (const ResultRow& row : model.rows())
        ids.push_back(std::stoi(std::string(row.id())));
    return ids;
}

bool fullyTransparent(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return false;
    return true;
}

} // namespace

class ResultListTest : public QObject {
    Q_OBJECT

private slots:
    void appendsALargeBatchQuickly();
    void showsConvertedTextIconsAndHeadings();
    void removesEveryRowOfARecord();
    void rowsOfAFileChangedInPlaceNameNoRecord();
    void sortKeepsTheSelectedRow();
    void sortStateFollowsClicksAndSearches();
    void viewAppliesAndReportsWidths();
    void viewSignals();
    void crystalImagesAndFonts();
    void cellsPaintAsQtsOwnDelegatePaintsThem();
};

void ResultListTest::appendsALargeBatchQuickly()
{
    ResultListView view;
    ResultListModel model;
    view.setModel(&model);
    model.setColumnLayout(buildColumnLayout("x1x111xxxxx1", "166,68,132,246,367"));
    view.resize(800, 600);
    view.show();

    ResultList rows;
    std::size_t lineBytes = 0;
    for (int i = 0; i < 100000; ++i) {
        const std::string line = std::to_string(i) + "," + "品"_sj + std::to_string(i) + std::string(48, ',');
        rows.appendLine(line);
        lineBytes += line.size();
    }

    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QElapsedTimer timer;
    timer.start();
    model.setRows(std::move(rows));
    QCoreApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    qInfo("100000 rows set and laid out in %lld ms", static_cast<long long>(elapsed));

    QCOMPARE(model.rowCount(), 100000);
    QCOMPARE(reset.count(), 1);
    QVERIFY(rows.empty());
    QVERIFY2(elapsed < 1000, "setting 100000 rows took a second or more");
    QVERIFY(model.recordIdAt(99999) == std::optional<std::string>("99999"));
    QCOMPARE(model.data(model.index(99999, 0)).toString(), QStringLiteral(" 品99999"));
    // The lines, 16 bytes a row and the cells of the rows painted: nothing
    // grows with the text of cells not shown.
    QVERIFY2(
        model.heldBytes() < lineBytes + 100000 * 16 + 1024 * 1024, "the rows hold more than their lines");
    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

void ResultListTest::showsConvertedTextIconsAndHeadings()
{
    skillVocabulary().set(1, "鍛冶"_sj);
    rankVocabulary().set(3, "中堅"_sj);
    ResultListModel model;
    model.setColumnLayout(buildColumnLayout("x1xxx1", ""));
    model.setRows(listOf({ { 5, "鉄の小刀 3"_sj, "【片手】"_sj, "3", "1", "3" }, { 6, "木の杖"_sj } }));

    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("名前"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("ﾗﾝｸ"));
    QVERIFY(!model.headerData(3, Qt::Horizontal).isValid());
    QCOMPARE(model.headings(), (std::vector<std::string> { "名前"_sj, "ﾗﾝｸ"_sj, "説明"_sj }));

    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral(" 鉄の小刀×3"));
    QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("中堅"));
    QCOMPARE(model.data(model.index(1, 1)).toString(), QStringLiteral("-"));
    QCOMPARE(model.data(model.index(1, 2)).toString(), QString());
    QVERIFY(!model.data(model.index(2, 0)).isValid());
    // The whole text as a tip, for cells cut by a narrow column; none for empty cells.
    QCOMPARE(model.data(model.index(0, 0), Qt::ToolTipRole).toString(), QStringLiteral(" 鉄の小刀×3"));
    QVERIFY(!model.data(model.index(1, 2), Qt::ToolTipRole).isValid());
    // A description of megabytes is shown and tipped cut, as the exports write it.
    model.setRows(listOf({ { 5, "鉄の小刀 3"_sj, "【片手】"_sj, "3", "1", "3" }, { 6, "木の杖"_sj },
        { 8, "巻物"_sj, std::string(4 * 1024 * 1024, 'w') } }));
    QCOMPARE(model.data(model.index(2, 2)).toString().size(), 999);
    QCOMPARE(model.data(model.index(2, 2), Qt::ToolTipRole).toString().size(), 999);

    const auto alignment = model.data(model.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>();
    QVERIFY(alignment & Qt::AlignLeft);

    const QIcon icon = model.data(model.index(0, 0), Qt::DecorationRole).value<QIcon>();
    const QPixmap large = icon.pixmap(QSize(20, 20), 1.0);
    QCOMPARE(large.size(), QSize(20, 20));
    QVERIFY(!fullyTransparent(large));
    // On a screen scaled by 2 the image has twice the pixels, drawn at that
    // size rather than blown up.
    const QPixmap sharp = icon.pixmap(QSize(20, 20), 2.0);
    QCOMPARE(sharp.size(), QSize(40, 40));
    QCOMPARE(sharp.toImage(), crystalIcon(3, kLargeIconSize, 2.0).toImage());
    QVERIFY(!model.data(model.index(0, 1), Qt::DecorationRole).isValid());

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setIconSize(kSmallIconSize);
    QCOMPARE(changed.count(), 1);
    const QPixmap small
        = model.data(model.index(1, 0), Qt::DecorationRole).value<QIcon>().pixmap(QSize(15, 15), 1.0);
    QCOMPARE(small.size(), QSize(15, 15));
    QVERIFY(fullyTransparent(small));

    model.setColumnLayout(buildColumnLayout("", ""));
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.columnCount(), 1);
    skillVocabulary().clear();
    rankVocabulary().clear();
}

void ResultListTest::removesEveryRowOfARecord()
{
    ResultListModel model;
    model.setColumnLayout(buildColumnLayout("", ""));
    model.setRows(listOf({ { 1, "a" }, { 2, "b" }, { 2, "c" }, { 3, "d" }, { 2, "e" } }));
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.removeRowsWithId("2");
    QCOMPARE(idsOf(model), (std::vector<int> { 1, 3 }));
    QCOMPARE(removed.count(), 2);
    QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral(" d"));

    model.removeRowsWithId("99");
    QCOMPARE(model.rowCount(), 2);
    QVERIFY(!model.recordIdAt(2));
    QVERIFY(!model.recordIdAt(-1));
}

// An editor rewrote the data file in place after the search: its rows no
// longer stand where the list read them, so they show nothing and no command
// acts on them.
void ResultListTest::rowsOfAFileChangedInPlaceNameNoRecord()
{
    if (!openFileSurvivesReplace())
        QSKIP("rows keep their lines here");
    test::TempProgramDir dir;
    const std::string path = dir.file("data.txt");
    test::writeFileBytes(path, "1,a\r\n2,b\r\n");
    ResultListModel model;
    model.setColumnLayout(buildColumnLayout("", ""));
    ResultList rows;
    const std::atomic<bool> running = false;
    QVERIFY(scanFileForMatches({ path, dir.file("memo.txt") }, SearchCriteria {}, rows, running)
        == ScanResult::Complete);
    model.setRows(std::move(rows));
    test::writeFileBytes(path, "7,x\r\n8,y\r\n");
    QVERIFY(!model.recordIdAt(0));
    QVERIFY(!model.recordIdAt(1));
    QCOMPARE(model.data(model.index(1, 0)).toString().trimmed(), QString());
}

void ResultListTest::sortKeepsTheSelectedRow()
{
    ResultListView view;
    ResultListModel model;
    view.setModel(&model);
    model.setColumnLayout(buildColumnLayout("xxxxx1", ""));
    model.setRows(listOf({ { 10, "c", "30" }, { 11, "a" }, { 12, "b", "10" }, { 13, "d", "20" } }));
    view.selectRow(0);
    QVERIFY(view.selectedRecordId() == std::optional<std::string>("10"));

    QSignalSpy layoutChanged(&model, &QAbstractItemModel::layoutChanged);
    model.OnColumnClick(1);
    QCOMPARE(layoutChanged.count(), 1);
    // Empty cells last when ascending; ids travel with their rows.
    QCOMPARE(idsOf(model), (std::vector<int> { 12, 13, 10, 11 }));
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral(" b"));
    QCOMPARE(view.selectedRow(), std::optional<int>(2));
    QVERIFY(view.selectedRecordId() == std::optional<std::string>("10"));

    model.OnColumnClick(1);
    QVERIFY(!model.sortAscending());
    QCOMPARE(idsOf(model), (std::vector<int> { 11, 10, 13, 12 }));
    QVERIFY(view.selectedRecordId() == std::optional<std::string>("10"));
}

void ResultListTest::sortStateFollowsClicksAndSearches()
{
    rankVocabulary().set(1, "見習い"_sj);
    rankVocabulary().set(2, "徒弟"_sj);
    ResultListModel model;
    model.setColumnLayout(buildColumnLayout("x1xxx1", "")); // 名前, ﾗﾝｸ, 説明; 限界 hidden
    model.setRows(listOf({ { 1, "b", "x", "2" }, { 2, "a", "y", "1" }, { 3, "c", "x", "1" }, { 4, "d" } }));
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<int> ids;
        std::size_t sortColumn;
        bool ascending;
    };
    const Step steps[] = {
        // Ties by the name before any click; empty cells last.
        { "click 説明", [&] { model.OnColumnClick(2); }, { 1, 3, 2, 4 }, 2, true },
        // The name (限界 is hidden), then the rank, ties by the click.
        { "search with a skill", [&] { model.sortAfterSearch(true); }, { 2, 3, 1, 4 }, 1, true },
        // The same heading again flips the key the search set.
        { "click 説明 again", [&] { model.OnColumnClick(2); }, { 4, 1, 2, 3 }, 1, false },
        { "click 名前", [&] { model.OnColumnClick(0); }, { 2, 1, 3, 4 }, 0, true },
    };
    for (const Step& step : steps) {
        step.act();
        QVERIFY2(idsOf(model) == step.ids, step.what);
        QCOMPARE(model.sortColumn(), step.sortColumn);
        QCOMPARE(model.sortAscending(), step.ascending);
    }
    QCOMPARE(model.lastClickedColumn(), 0);
    rankVocabulary().clear();
}

void ResultListTest::viewAppliesAndReportsWidths()
{
    ResultListView view;
    ResultListModel model;
    view.setModel(&model);
    const ColumnLayout layout = buildColumnLayout("x1x111xxxxx1", "166,68,132,246,367");
    model.setColumnLayout(layout);
    view.applyColumnWidths(layout);
    QCOMPARE(view.currentWidths(), (std::vector<int> { 166, 68, 132, 246, 367 }));

    view.header()->resizeSection(2, 90);
    QCOMPARE(columnWidthsText(view.currentWidths()), std::string("166,68,90,246,367,"));
    // A new search empties and refills the list; the user's widths stay.
    model.setRows(listOf({ { 1, "a" } }));
    model.clear();
    model.setRows(listOf({ { 2, "b" } }));
    QCOMPARE(view.currentWidths(), (std::vector<int> { 166, 68, 90, 246, 367 }));

    QVERIFY(!view.rootIsDecorated());
    QVERIFY(!view.isSortingEnabled());
    QCOMPARE(view.selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(view.selectionBehavior(), QAbstractItemView::SelectRows);

    view.setLargeIcons(false);
    QCOMPARE(view.iconSize(), QSize(15, 15));
    QCOMPARE(model.iconSize(), 15);
    view.applyFontSize(170);
    QCOMPARE(view.iconSize(), QSize(20, 20));
    QCOMPARE(view.font().pointSizeF(), 17.0);
}

void ResultListTest::viewSignals()
{
    ResultListView view;
    ResultListModel model;
    view.setModel(&model);
    model.setColumnLayout(buildColumnLayout("x1", "100,100"));
    model.setRows(listOf({ { 1, "a" }, { 2, "b" } }));
    view.resize(400, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QSignalSpy open(&view, &ResultListView::openRequested);
    QSignalSpy heading(&view, &ResultListView::headingClicked);
    QSignalSpy clicked(&view, &ResultListView::rowClicked);
    QSignalSpy menu(&view, &ResultListView::contextMenuRequested);

    // Enter without a selection does nothing; with one it opens.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(open.count(), 0);

    const QRect second = view.visualRect(model.index(1, 0));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(clicked.count(), 1);
    QVERIFY(view.selectedRecordId() == std::optional<std::string>("2"));
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(open.count(), 1);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, second.center());
    QCOMPARE(open.count(), 2);

    // Right click selects the row under the mouse before the menu is asked for.
    const QRect first = view.visualRect(model.index(0, 1));
    QTest::mousePress(view.viewport(), Qt::RightButton, {}, first.center());
    QVERIFY(view.selectedRecordId() == std::optional<std::string>("1"));
    QContextMenuEvent event(
        QContextMenuEvent::Mouse, first.center(), view.viewport()->mapToGlobal(first.center()));
    QCoreApplication::sendEvent(view.viewport(), &event);
    QVERIFY(menu.count() >= 1);
    QCOMPARE(menu.last().at(0).toPoint(), view.viewport()->mapToGlobal(first.center()));

    // Heading clicks are reported, the rows stay where they are.
    const int x = view.header()->sectionViewportPosition(1) + 10;
    QTest::mouseClick(view.header()->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    QCOMPARE(heading.count(), 1);
    QCOMPARE(heading.first().at(0).toInt(), 1);
    QCOMPARE(idsOf(model), (std::vector<int> { 1, 2 }));
}

void ResultListTest::crystalImagesAndFonts()
{
    for (int size : { kSmallIconSize, kLargeIconSize }) {
        QVERIFY(fullyTransparent(crystalIcon(0, size)));
        QVERIFY(fullyTransparent(crystalIcon(9, size)));
        for (int index = 1; index <= 8; ++index) {
            const QPixmap image = crystalIcon(index, size);
            QCOMPARE(image.size(), QSize(size, size));
            QVERIFY(!fullyTransparent(image));
        }
    }
    // Each element has its own colour: the frame pixels differ.
    QSet<QRgb> frames;
    for (int index = 1; index <= 8; ++index)
        frames.insert(crystalIcon(index, kLargeIconSize).toImage().pixel(0, 0));
    QCOMPARE(frames.size(), 8);
    QVERIFY(crystalIcon(10, kLargeIconSize).isNull());
    QVERIFY(crystalIcon(-1, kLargeIconSize).isNull());

    QCOMPARE(listFont(80).pointSizeF(), 8.0);
    QCOMPARE(listFont(140).pointSizeF(), 14.0);
    // A Japanese monospaced font wins over the system's fixed font.
    if (QFontDatabase::hasFamily(QStringLiteral("IPAGothic"))
        && !QFontDatabase::hasFamily(QStringLiteral("MS Gothic"))
        && !QFontDatabase::hasFamily(QStringLiteral("ＭＳ ゴシック")))
        QCOMPARE(listFont(110).family(), QStringLiteral("IPAGothic"));
    // The other controls: the Windows dialog font or a Japanese UI font.
    const QFont ui = mainWindowFont(QFont(QStringLiteral("Sans"), 13));
    if (QFontDatabase::hasFamily(QStringLiteral("IPAPGothic"))) {
        QCOMPARE(ui.pointSize(), 9);
        QVERIFY(ui.family() != QStringLiteral("Sans"));
        QVERIFY(QFontDatabase::hasFamily(ui.family()));
    }
    QVERIFY(largeIconsFor(110));
    QVERIFY(!largeIconsFor(90));
}

void ResultListTest::cellsPaintAsQtsOwnDelegatePaintsThem()
{
    skillVocabulary().set(1, "鍛冶"_sj);
    const ColumnLayout layout = buildColumnLayout("x1x111xxxxx1", "120,50,60,90,80");
    ResultListModel model;
    model.setColumnLayout(layout);
    model.setRows(
        listOf({ { 1, "鉄の小刀"_sj, "【片手】とても長い説明の文で列に入りきらない"_sj, "3", "1", "3" },
            { 2, "木の杖"_sj, "短い"_sj, "1", "2", "5" }, { 3, "麻の服"_sj } }));
    // Two views of the same rows, the second with Qt's own delegate; the
    // second row selected in both, with no keyboard focus in either.
    ResultListView ours;
    ResultListView qts;
    qts.setItemDelegate(new QStyledItemDelegate(&qts));
    for (ResultListView* view : { &ours, &qts }) {
        view->setModel(&model);
        view->applyColumnWidths(layout);
        view->resize(420, 160);
        view->show();
        view->selectRow(1);
    }
    QVERIFY(QTest::qWaitForWindowExposed(&ours));
    QVERIFY(QTest::qWaitForWindowExposed(&qts));
    const QImage expected = qts.viewport()->grab().toImage();
    QCOMPARE(ours.viewport()->grab().toImage(), expected);

    // Painted again, every text comes from what the first painting laid out.
    auto* delegate = dynamic_cast<ResultCellDelegate*>(ours.itemDelegate());
    QVERIFY(delegate);
    const std::size_t layouts = delegate->layoutsMade();
    QVERIFY(layouts > 0);
    QCOMPARE(ours.viewport()->grab().toImage(), expected);
    QCOMPARE(delegate->layoutsMade(), layouts);
}

QTEST_MAIN(ResultListTest)
#include "result_list_test.moc"
