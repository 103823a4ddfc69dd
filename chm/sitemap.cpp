#include "chm/sitemap.h"

#include <algorithm>
#include <utility>

#include "chm/text_refs.h"

namespace chm {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

struct Tag {
    std::string name;                                             // lower case, "/ul" for a closing tag
    std::vector<std::pair<std::string, std::string>> attributes;  // names lower case

    std::string Attribute(std::string_view wanted) const {
        for (const auto& [key, value] : attributes) {
            if (key == wanted)
                return value;
        }
        return {};
    }
};

// Reads the tag whose '<' is at `pos`; returns the position after its '>'.
size_t ReadTag(std::string_view text, size_t pos, Tag& tag) {
    size_t i = pos + 1;
    const size_t name_start = i;
    while (i < text.size() && !IsBlank(text[i]) && text[i] != '>')
        ++i;
    tag.name = AsciiLower(text.substr(name_start, i - name_start));
    tag.attributes.clear();
    while (i < text.size() && text[i] != '>') {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        const size_t key_start = i;
        while (i < text.size() && !IsBlank(text[i]) && text[i] != '=' && text[i] != '>')
            ++i;
        std::string key = AsciiLower(text.substr(key_start, i - key_start));
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        std::string value;
        if (i < text.size() && text[i] == '=') {
            ++i;
            while (i < text.size() && IsBlank(text[i]))
                ++i;
            if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                const char quote = text[i++];
                const size_t end = std::min(text.find(quote, i), text.size());
                value = DecodeHtmlText(text.substr(i, end - i));
                i = std::min(end + 1, text.size());
            } else {
                const size_t value_start = i;
                while (i < text.size() && !IsBlank(text[i]) && text[i] != '>')
                    ++i;
                value = DecodeHtmlText(text.substr(value_start, i - value_start));
            }
        }
        if (!key.empty())
            tag.attributes.emplace_back(std::move(key), std::move(value));
        else if (i < text.size() && text[i] != '>')
            ++i;  // a stray character; step over it
    }
    return std::min(i + 1, text.size());
}

}  // namespace

Sitemap ParseSitemap(std::string_view text) {
    Sitemap sitemap;
    enum class Object { kNone, kEntry, kProperties } object = Object::kNone;
    SitemapEntry entry;
    bool have_name = false;
    bool have_local = false;
    int depth = 0;
    Tag tag;
    size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string_view::npos) {
        if (text.substr(pos, 4) == "<!--") {
            const size_t end = text.find("-->", pos + 4);
            pos = end == std::string_view::npos ? text.size() : end + 3;
            continue;
        }
        pos = ReadTag(text, pos, tag);
        if (tag.name == "ul") {
            ++depth;
        } else if (tag.name == "/ul") {
            depth = std::max(depth - 1, 0);
        } else if (tag.name == "object") {
            const std::string type = AsciiLower(tag.Attribute("type"));
            object = type == "text/sitemap"           ? Object::kEntry
                     : type == "text/site properties" ? Object::kProperties
                                                      : Object::kNone;
            entry = SitemapEntry{};
            entry.depth = depth;
            have_name = have_local = false;
        } else if (tag.name == "param" && object != Object::kNone) {
            const std::string name = AsciiLower(tag.Attribute("name"));
            const std::string value = tag.Attribute("value");
            // An entry that names several pages keeps its first name and page.
            if (object == Object::kEntry && name == "name" && !have_name) {
                entry.name = value;
                have_name = true;
            } else if (object == Object::kEntry && name == "local" && !have_local) {
                entry.local = value;
                have_local = true;
            } else if (object == Object::kProperties && name == "imagetype") {
                sitemap.folder_images = AsciiLower(value) == "folder";
            }
        } else if (tag.name == "/object") {
            if (object == Object::kEntry && (have_name || have_local))
                sitemap.entries.push_back(std::move(entry));
            object = Object::kNone;
        }
    }
    return sitemap;
}

std::string LocalPage(std::string_view local) {
    std::string page(local.substr(0, local.find_first_of("#?")));
    std::replace(page.begin(), page.end(), '\\', '/');
    return page;
}

}  // namespace chm
