// Code page 932 conversion through iconv (glibc names it "CP932").

#include "platform/sjis_codec.h"

#include "platform/sjis_literal.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace vornik {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from)
        : m_handle(iconv_open(to, from))
    {
        // iconv_open reports failure as (iconv_t)-1, nothing else.
        if (m_handle == reinterpret_cast<iconv_t>(-1)) // NOLINT(performance-no-int-to-ptr)
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(m_handle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; on a byte sequence it cannot take, calls onBad with the
    // output and returns how many input bytes to skip.
    template <typename OnBad> std::string run(std::string_view in, OnBad onBad)
    {
        std::string out;
        out.reserve(in.size() * 3 / 2 + 8);
        iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            const std::size_t result = iconv(m_handle, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (result != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (incomplete sequence at the end).
            const std::size_t skip = onBad(out, std::string_view(src, srcLeft));
            src += skip;
            srcLeft -= skip;
            iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_handle;
};

std::size_t utf8SequenceLength(std::string_view rest)
{
    const auto c = static_cast<unsigned char>(rest[0]);
    std::size_t n = 1;
    if (c >= 0xF0 && c <= 0xF4)
        n = 4;
    else if (c >= 0xE0)
        n = c <= 0xEF ? 3 : 1;
    else if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    if (n > rest.size())
        return 1;
    for (std::size_t i = 1; i < n; ++i) {
        if ((static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80)
            return 1;
    }
    return n;
}

} // namespace

std::string sjisToUtf8(std::string_view sjis)
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter.run(sjis, [](std::string& out, std::string_view) {
        out += "\xEF\xBF\xBD";
        return std::size_t { 1 };
    });
}

std::string utf8ToSjis(std::string_view utf8)
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter.run(utf8, [](std::string& out, std::string_view rest) {
        out += '?';
        return utf8SequenceLength(rest);
    });
}

// There is no Notepad and no "ANSI" choice here: the editors name the
// encoding Shift_JIS, and iconv converts from the shell.
std::string sjisConversionHint(std::string_view encoding)
{
    return "テキストエディターで文字コード「Shift_JIS」を選んで保存し直すか、次のように変換してください。\n"_sj
        + "iconv -f " + std::string(encoding) + " -t CP932 " + "元のファイル > 新しいファイル"_sj;
}

} // namespace vornik
