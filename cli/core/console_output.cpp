#include "cli/core/console_output.h"

#include "platform/sjis_codec.h"

#include <ostream>

namespace vornik::cli {
namespace {

constexpr std::size_t kFlushBytes = 256 * 1024;

} // namespace

ConsoleOutput::ConsoleOutput(std::ostream& out, OutputEncoding encoding)
    : m_out(out)
    , m_encoding(encoding)
{
}

ConsoleOutput::~ConsoleOutput()
{
    flush();
}

void ConsoleOutput::sjis(std::string_view text)
{
    if (m_encoding == OutputEncoding::Cp932) {
        m_ready.append(text);
    } else {
        m_sjis.append(text);
        // Converted in large pieces, cut only after a line feed, which is
        // never part of a double-byte character.
        if (m_sjis.size() >= kFlushBytes) {
            const std::size_t cut = m_sjis.rfind('\n');
            if (cut != std::string::npos) {
                m_ready += sjisToUtf8(std::string_view(m_sjis).substr(0, cut + 1));
                m_sjis.erase(0, cut + 1);
            }
        }
    }
    if (m_ready.size() >= kFlushBytes)
        flush();
}

void ConsoleOutput::utf8(std::string_view text)
{
    if (!m_sjis.empty()) {
        m_ready += sjisToUtf8(m_sjis);
        m_sjis.clear();
    }
    if (m_encoding == OutputEncoding::Cp932)
        m_ready += utf8ToSjis(text);
    else
        m_ready.append(text);
}

bool ConsoleOutput::flush()
{
    if (!m_sjis.empty()) {
        m_ready += sjisToUtf8(m_sjis);
        m_sjis.clear();
    }
    if (!m_ready.empty() && !m_failed) {
        m_out.write(m_ready.data(), static_cast<std::streamsize>(m_ready.size()));
        m_out.flush();
        m_failed = !m_out;
    }
    m_ready.clear();
    return !m_failed;
}

} // namespace vornik::cli
