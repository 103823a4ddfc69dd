// Stand-in until the detector lands: "第" digits "章" or "卷" at the start of a short line.
#include "builder/chapters.h"

std::optional<Heading> DetectHeading(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (line.substr(0, 3) == "\xE3\x80\x80")
        line.remove_prefix(3);
    if (line.substr(0, 3) != "第" || line.size() > 100)
        return std::nullopt;
    size_t i = 3;
    while (i < line.size() && ((line[i] >= '0' && line[i] <= '9') || line.substr(i, 3) == "一" ||
                               line.substr(i, 3) == "二" || line.substr(i, 3) == "三" || line.substr(i, 3) == "十"))
        i += (line[i] >= '0' && line[i] <= '9') ? 1 : 3;
    if (i == 3)
        return std::nullopt;
    if (line.substr(i, 3) == "章")
        return Heading{HeadingKind::kChapter, std::string(line)};
    if (line.substr(i, 3) == "卷")
        return Heading{HeadingKind::kVolume, std::string(line)};
    return std::nullopt;
}
