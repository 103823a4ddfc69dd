// #TOPICS, #URLTBL and #URLSTR: every page of the book with its title, and the lookup from a
// page's address to its topic that viewers use for titles and for following the contents.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chm/strings_table.h"

namespace chm {

struct Topic {
    // The stored name without its leading '/', in UTF-8 like the directory's names: viewers look
    // pages up by it.
    std::string url;
    std::string title;  // in the code page; empty when the page has none
    bool in_contents = false;
};

struct TopicTables {
    std::string topics;
    std::string urltbl;
    std::string urlstr;
};

TopicTables BuildTopicTables(const std::vector<Topic>& topics, StringsTable& strings);

// The hash #URLTBL is sorted by.
uint32_t UrlHash(std::string_view url);

}  // namespace chm
