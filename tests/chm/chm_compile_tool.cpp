// Compiles one book folder's chm_hhp.hhp with the library, for the viewer screenshots and by
// hand: chm_compile FOLDER OUTPUT.chm
#include <cstdio>
#include <string>

#include "builder/platform.h"
#include "tests/chm/chm_test_support.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: chm_compile FOLDER OUTPUT.chm\n");
        return 2;
    }
    chm_test::FolderSource source(argv[1]);
    chm_test::Cp936Codec codec;
    chm_test::StringSink sink;
    chm::CompileResult result = chm::CompileProject("chm_hhp.hhp", source, codec, sink);
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", result.reason.c_str());
        return 1;
    }
    if (!platform::WriteFileBytes(argv[2], sink.data)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
