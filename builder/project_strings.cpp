#include "builder/project_strings.h"

#include <array>

namespace {

const std::array<std::string, kProjectStringCount>& Table() {
    static const std::array<std::string, kProjectStringCount> table = {
        "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">",                                // 1
        "<HTML>",                                                                          // 2
        "<HEAD>",                                                                          // 3
        "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">",     // 4
        "<!-- Sitemap 1.0 -->",                                                            // 5
        "</HEAD><BODY>",                                                                   // 6
        "<OBJECT type=\"text/site properties\">",                                          // 7
        "<param name=\"ImageType\" value=\"Folder\">",                                     // 8
        "<UL>",                                                                            // 9
        "<LI> <OBJECT type=\"text/sitemap\">",                                             // 10
        "<param name=\"Name\" value=\"目录\">",                                            // 11
        "</OBJECT>",                                                                       // 12
        "<UL> ;32",                                                                        // 13
        "</BODY></HTML>",                                                                  // 14
        "<param name=\"Name\" value=\"",                                                   // 15
        "\">",                                                                             // 16
        "<param name=\"ImageNumber\" value=\"10\">",                                       // 17
        "<param name=\"Local\" value=\"",                                                  // 18
        "<param name=\"Name\" value=\" \">",                                               // 19
        "</UL>",                                                                           // 20
        "<param name=\"Local\" value=\"chm_about.ini\">",                                  // 21
        "[OPTIONS]",                                                                       // 22
        "Compatibility=1.1 or later",                                                      // 23
        "Compiled file=",                                                                  // 24
        "Contents file=chm_hhc.hhc",                                                       // 25
        "Default Window=chm_window",                                                       // 26
        "Default topic=chm_about.htm",                                                     // 27
        "Display compile progress=No",                                                     // 28
        "Index file=chm_hhk.hhk",                                                          // 29
        "Language=0x804 中文(中国)",                                                       // 30
        "[WINDOWS]",                                                                       // 31
        ",\"chm_hhc.hhc\",\"chm_hhk.hhk\",,,,,,,0x2120,,0x8380e,[28,28,1020,720],,,,,,,",  // 32
        "[FILES]",                                                                         // 33
        "[INFOTYPES]\r\n",                                                                 // 34
        "chm_window=",                                                                     // 35
    };
    return table;
}

}  // namespace

const std::string& ProjectString(int id) {
    static const std::string empty;
    if (id < 1 || id > kProjectStringCount)
        return empty;
    return Table()[static_cast<size_t>(id - 1)];
}
