#include "app/core/result_row.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vornik {
namespace {

constexpr std::size_t kMaxTextBytes = std::numeric_limits<std::uint32_t>::max();

std::size_t blockWords(std::size_t cells, std::size_t textBytes)
{
    return 2 + cells + (textBytes + sizeof(std::uint32_t) - 1) / sizeof(std::uint32_t);
}

} // namespace

ResultRow::ResultRow(std::string_view rowId, int rowIcon, std::initializer_list<std::string_view> cells)
{
    ResultRowBuilder builder;
    for (const std::string_view text : cells)
        builder.addCell(text);
    *this = builder.take(rowId, rowIcon);
}

ResultRow::ResultRow(std::string_view rowId, int rowIcon, const std::vector<std::string>& cells)
{
    ResultRowBuilder builder;
    for (const std::string& text : cells)
        builder.addCell(text);
    *this = builder.take(rowId, rowIcon);
}

ResultRow::ResultRow(const ResultRow& other)
    : icon(other.icon)
{
    if (!other.m_block)
        return;
    const std::size_t count = other.m_block[0];
    const std::size_t words = blockWords(count, other.m_block[1 + count]);
    m_block = std::make_unique_for_overwrite<std::uint32_t[]>(words);
    std::memcpy(m_block.get(), other.m_block.get(), words * sizeof(std::uint32_t));
}

ResultRow& ResultRow::operator=(const ResultRow& other)
{
    if (this != &other)
        *this = ResultRow(other);
    return *this;
}

std::vector<std::string> ResultRow::cellTexts() const
{
    std::vector<std::string> texts;
    texts.reserve(cellCount());
    for (std::size_t column = 0; column < cellCount(); ++column)
        texts.emplace_back(cell(column));
    return texts;
}

void ResultRowBuilder::closeCell()
{
    const std::size_t kept = m_count == 0 ? 0 : m_ends[m_count - 1];
    if (m_count == ResultRow::kMaxCells) {
        m_text.resize(kept); // drop what a surplus cell appended
        return;
    }
    if (m_text.size() > kMaxTextBytes)
        m_text.resize(kMaxTextBytes);
    m_ends[m_count++] = static_cast<std::uint32_t>(m_text.size());
}

void ResultRowBuilder::addCell(std::string_view text)
{
    m_text.append(text);
    closeCell();
}

ResultRow ResultRowBuilder::take(std::string_view id, int icon)
{
    ResultRow row;
    row.icon = icon;
    // An id is one field of one line; cells and id together stay below 4 GiB.
    if (id.size() > kMaxTextBytes - m_text.size())
        id = id.substr(0, kMaxTextBytes - m_text.size());
    const std::size_t words = blockWords(m_count, id.size() + m_text.size());
    row.m_block = std::make_unique_for_overwrite<std::uint32_t[]>(words);
    std::uint32_t* block = row.m_block.get();
    block[0] = static_cast<std::uint32_t>(m_count);
    block[1] = static_cast<std::uint32_t>(id.size());
    for (std::size_t i = 0; i < m_count; ++i)
        block[2 + i] = static_cast<std::uint32_t>(id.size() + m_ends[i]);
    char* text = reinterpret_cast<char*>(block + 2 + m_count);
    if (!id.empty())
        std::memcpy(text, id.data(), id.size());
    if (!m_text.empty())
        std::memcpy(text + id.size(), m_text.data(), m_text.size());
    m_text.clear();
    m_count = 0;
    return row;
}

} // namespace vornik
