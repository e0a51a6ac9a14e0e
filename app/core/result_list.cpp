#include "app/core/result_list.h"

#include "storage/field_codec.h"

#include <algorithm>
#include <utility>

namespace vornik {
namespace {

// The first block is small (most searches find a few rows); each next one
// twice the size, up to a size where a block costs nothing to waste.
constexpr std::size_t kFirstBlockBytes = std::size_t { 16 } * 1024;
constexpr std::size_t kLargestBlockBytes = std::size_t { 1024 } * 1024;

// Lines read back at once for rows asked for one by one (painting, an
// export): a screenful and well beyond, in a few reads.
constexpr std::size_t kRowsReadAtOnce = 512;
constexpr std::size_t kBytesReadAtOnce = 256 * 1024;
constexpr std::size_t kLongestRun = 16 * kRowsReadAtOnce;
// Lines read back at once where every row is visited (a sort).
constexpr std::size_t kLinesPerPass = 2048;
constexpr std::size_t kBytesPerPass = 256 * 1024;

constexpr std::uint32_t kNoRow = static_cast<std::uint32_t>(-1);

std::size_t positionOf(const std::vector<std::size_t>& columns, std::size_t column)
{
    return static_cast<std::size_t>(std::find(columns.begin(), columns.end(), column) - columns.begin());
}

} // namespace

void ResultList::appendLine(std::string_view line)
{
    if (m_blocks.empty() || m_blocks.back().capacity() - m_blocks.back().size() < line.size()) {
        const std::size_t next = m_blocks.empty()
            ? kFirstBlockBytes
            : std::min(2 * m_blocks.back().capacity(), kLargestBlockBytes);
        m_blocks.emplace_back().reserve(std::max(next, line.size()));
    }
    std::string& block = m_blocks.back();
    m_lines.push_back({ static_cast<std::uint32_t>(m_blocks.size() - 1),
        static_cast<std::uint32_t>(block.size()), static_cast<std::uint32_t>(line.size()) });
    block.append(line);
    m_order.push_back(static_cast<std::uint32_t>(m_lines.size() - 1));
}

void ResultList::appendLineAt(std::uint64_t offset, std::string_view line)
{
    m_places.add(offset, line);
    m_order.push_back(static_cast<std::uint32_t>(m_places.size() - 1));
}

void ResultList::readLinesFrom(ScopedFile file, const FileStamp& stampBeforeScan)
{
    m_places.setFile(std::move(file), stampBeforeScan);
}

void ResultList::clear()
{
    m_blocks = {};
    m_lines = {};
    m_places.clear();
    m_order = {};
    m_lastRow = 0;
    m_nextRow = static_cast<std::size_t>(-1);
    m_backwards = false;
    m_runRows = 0;
    m_runPositions = {};
}

void ResultList::loadAround(std::size_t row) const
{
    // Rows asked for one after the other (an export, a search through the
    // rows) are read in ever longer runs, up to a few megabytes: in fewer,
    // larger reads, since lines close together are read at once.
    const bool goesOn = row == m_nextRow;
    const bool backwards = goesOn ? m_backwards : row < m_lastRow;
    m_runRows = goesOn ? std::min(2 * m_runRows, kLongestRun) : kRowsReadAtOnce;
    const std::size_t runBytes = m_runRows / kRowsReadAtOnce * kBytesReadAtOnce;
    // The run's lines in file order, each with its row's place in the run.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> lines;
    std::size_t bytes = 0;
    std::size_t step = 0;
    for (; step < m_runRows && bytes < runBytes; ++step) {
        if (backwards ? step > row : row + step >= m_order.size())
            break;
        const std::uint32_t index = m_order[backwards ? row - step : row + step];
        lines.emplace_back(index, static_cast<std::uint32_t>(step));
        bytes += m_places.length(index);
    }
    m_lastRow = row;
    m_backwards = backwards;
    m_nextRow = backwards ? row - step : row + step; // past the first row: matches no row
    std::sort(lines.begin(), lines.end());
    std::vector<std::uint32_t> indexes(lines.size());
    m_runFirst = backwards ? row + 1 - step : row;
    m_runPositions.assign(step, 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        indexes[i] = lines[i].first;
        const std::size_t fromFirst = backwards ? step - 1 - lines[i].second : lines[i].second;
        m_runPositions[fromFirst] = static_cast<std::uint32_t>(i);
    }
    m_places.load(indexes);
}

std::optional<std::string_view> ResultList::lineOf(std::size_t row) const
{
    const std::uint32_t index = m_order[row];
    if (m_places.empty()) {
        const LineSpan& span = m_lines[index];
        return std::string_view(m_blocks[span.block]).substr(span.offset, span.length);
    }
    // The rows of the run read last are found without a search.
    if (row >= m_runFirst && row - m_runFirst < m_runPositions.size()) {
        const std::size_t position = m_runPositions[row - m_runFirst];
        if (!m_places.unreadAt(position))
            return m_places.loadedAt(position);
    } else if (m_places.isLoaded(index)) {
        return m_places.loaded(index);
    }
    loadAround(row);
    return m_places.loadedAt(m_runPositions[row - m_runFirst]);
}

std::string_view ResultList::line(std::size_t row) const
{
    return lineOf(row).value_or(std::string_view());
}

bool ResultList::readable(std::size_t row) const
{
    return lineOf(row).has_value();
}

std::string_view ResultList::id(std::size_t row) const
{
    const std::string_view text = line(row);
    return text.substr(0, text.find(','));
}

void ResultList::forEachRow(const std::function<void(std::size_t, std::string_view)>& visit) const
{
    if (m_places.empty()) {
        for (std::size_t row = 0; row < size(); ++row)
            visit(row, line(row));
        return;
    }
    // The lines in file order, a pass of them at a time: large reads one
    // after the other, however the rows stand.
    std::vector<std::uint32_t> rowOfLine(m_places.size(), kNoRow);
    for (std::size_t row = 0; row < size(); ++row)
        rowOfLine[m_order[row]] = static_cast<std::uint32_t>(row);
    m_runPositions.clear(); // the loads below replace the run's
    std::vector<std::uint32_t> pass;
    const auto visitPass = [&] {
        m_places.load(pass);
        for (std::size_t i = 0; i < pass.size(); ++i)
            visit(rowOfLine[pass[i]], m_places.loadedAt(i).value_or(std::string_view()));
        pass.clear();
    };
    std::size_t bytes = 0;
    for (std::uint32_t index = 0; index < rowOfLine.size(); ++index) {
        if (rowOfLine[index] == kNoRow)
            continue;
        pass.push_back(index);
        bytes += m_places.length(index);
        if (pass.size() == kLinesPerPass || bytes >= kBytesPerPass) {
            visitPass();
            bytes = 0;
        }
    }
    if (!pass.empty())
        visitPass();
    m_places.dropLoaded();
}

ResultRow ResultList::formatRow(const ColumnLayout& layout, std::size_t row) const
{
    decodeLine(line(row), m_record);
    return makeResultRow(layout, m_record);
}

RowRange ResultList::formattedRows(const ColumnLayout& layout) const
{
    return RowRange(size(), [this, &layout](std::size_t row) { return formatRow(layout, row); });
}

void ResultList::sort(const ColumnLayout& layout, const std::vector<SortOrder>& passes)
{
    if (size() < 2 || passes.empty())
        return;
    std::vector<std::size_t> columns;
    for (const SortOrder& pass : passes) {
        for (const std::size_t column : { pass.sortColumn, pass.tieColumn }) {
            if (positionOf(columns, column) == columns.size())
                columns.push_back(column);
        }
    }
    std::vector<ResultRow> keys(size());
    forEachRow([&](std::size_t row, std::string_view line) {
        decodeLine(line, m_record);
        keys[row] = makeCellsRow(layout, m_record, columns);
    });
    std::vector<std::uint32_t> sorted;
    std::vector<std::uint32_t> order(m_order.size());
    std::vector<ResultRow> movedKeys(keys.size());
    for (const SortOrder& pass : passes) {
        SortOrder byKeys = pass;
        byKeys.sortColumn = positionOf(columns, pass.sortColumn);
        byKeys.tieColumn = positionOf(columns, pass.tieColumn);
        sortedPositions(keys, byKeys, sorted);
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            order[i] = m_order[sorted[i]];
            movedKeys[i] = std::move(keys[sorted[i]]);
        }
        m_order.swap(order);
        keys.swap(movedKeys);
    }
}

void ResultList::removeRows(std::size_t first, std::size_t count)
{
    const auto begin = m_order.begin() + static_cast<std::ptrdiff_t>(first);
    m_order.erase(begin, begin + static_cast<std::ptrdiff_t>(count));
    m_runPositions.clear(); // rows have moved
}

std::size_t ResultList::heldBytes() const
{
    std::size_t bytes = m_lines.capacity() * sizeof(LineSpan) + m_places.heldBytes()
        + m_order.capacity() * sizeof(std::uint32_t);
    for (const std::string& block : m_blocks)
        bytes += block.capacity();
    return bytes;
}

} // namespace vornik
