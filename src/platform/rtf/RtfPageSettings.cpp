#include "RtfPageSettings.h"

#include "platform/text/TextHelpers.h"

namespace kv::rtf {

std::string templatePageSettings(std::string_view rtf)
{
    const std::size_t paper = rtf.find("\\paperw");
    const std::size_t gutter = rtf.find("\\gutter");
    if (paper == std::string_view::npos || gutter == std::string_view::npos || gutter < paper)
        return {};
    const std::string_view span = rtf.substr(paper, gutter - paper);
    if (span.find_first_of("{}") != std::string_view::npos)
        return {};
    return std::string(span);
}

QByteArray insertPageSettings(const QByteArray &rtf, std::string_view settings)
{
    constexpr qsizetype kHeaderLength = 6;
    if (kv::text::Trim(settings).empty() || rtf.size() < kHeaderLength)
        return rtf;
    QByteArray out;
    out.reserve(rtf.size() + qsizetype(settings.size()));
    out.append(rtf.left(kHeaderLength));
    out.append(settings.data(), qsizetype(settings.size()));
    out.append(rtf.mid(kHeaderLength));
    return out;
}

} // namespace kv::rtf
