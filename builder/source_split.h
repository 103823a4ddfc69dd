// Cutting a source file into numbered piece files of at most PieceUnits x 512 characters.
#pragma once

#include <string>
#include <vector>

#include "builder/run_controls.h"

enum class SplitStatus {
    kSucceeded,
    kEmpty,        // empty, unreadable or missing source: one empty piece, no book
    kWriteFailed,  // a piece file could not be written
    kStopped,      // the front-end asked the run to stop
};

struct SplitOutcome {
    SplitStatus status = SplitStatus::kEmpty;
    // The source started with a UTF-8 or UTF-16 byte-order mark; characters outside code page
    // 936 then stand in the pieces as character references.
    bool unicode_source = false;
    size_t pieces = 0;
};

// The name of piece k of n: base, "_", k zero-padded to the digits of n, ".txt".
std::string PieceFileName(const std::string& base_name, size_t k, size_t n);

// Writes the pieces of the source into output_folder. Piece k holds the characters
// (k-1)*B+1 .. min(k*B, L) of the source, each written in code page 936 and followed by CR LF.
SplitOutcome SplitSourceFile(const std::string& source_path,
                             const std::string& base_name,
                             const std::string& output_folder,
                             int piece_units,
                             RunControls& controls);
// The same, with the source read into `content`, which keeps its memory from call to call: a
// run over many large sources then does not map and clear a fresh buffer for each of them.
SplitOutcome SplitSourceFile(const std::string& source_path,
                             const std::string& base_name,
                             const std::string& output_folder,
                             int piece_units,
                             RunControls& controls,
                             std::string& content);
