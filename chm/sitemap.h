// The contents (.hhc) and index (.hhk) files: HTML sitemaps of <OBJECT type="text/sitemap">
// entries inside nested <UL> lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace chm {

struct SitemapEntry {
    std::string name;   // the "Name" parameter, entities decoded
    std::string local;  // the "Local" parameter (a page, possibly with "#anchor"), decoded
    int depth = 0;      // how many <UL> lists enclose it
};

struct Sitemap {
    std::vector<SitemapEntry> entries;
    bool folder_images = false;  // the site properties ask for ImageType=Folder
};

// `utf8` is the whole file, already converted from its code page. Never fails: what is not a
// sitemap entry is skipped.
Sitemap ParseSitemap(std::string_view utf8);

// The page a "Local" value names: without "#anchor" or "?query", '\' read as '/'.
std::string LocalPage(std::string_view local);

}  // namespace chm
