// A book's folder appears complete or not at all: it is made under a name of its own beside the
// sources, holding a marker file that this run keeps held, and renamed to the book's name once
// its pages and project files are complete. The marker stays until the book is compiled, so a
// folder whose compile never ended is never taken for a finished book.
#pragma once

#include <memory>
#include <string>

#include "builder/compile_book.h"
#include "builder/platform.h"

inline constexpr char kBookMarkerName[] = ".folvane-book";
inline constexpr char kWorkFolderPrefix[] = ".folvane-work-";

// What lies at a book folder's name.
enum class BookFolderState {
    kNone,        // nothing: the book can be made
    kComplete,    // a finished book, or any other folder of that name: left alone
    kNotAFolder,  // a file or link of that name is in the way
    kBusy,        // a book that another run is making or compiling right now
    kUnfinished,  // a book whose compile failed or was cut off
};
BookFolderState InspectBookFolder(const std::string& folder);

class WorkFolder {
  public:
    // Creates a new work folder inside `parent`. Null, with `reason`, when it cannot.
    static std::unique_ptr<WorkFolder> Create(const std::string& parent, std::string& reason);
    // Removes the folder again unless it was moved to the book's name.
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::string& path() const { return path_; }
    // Renames the folder to `book_folder`. Never replaces anything: when something has that name
    // already, returns false with `exists` set.
    bool MoveTo(const std::string& book_folder, bool& exists, std::string& reason);
    // The marker's hold, for the compile: when it ends the marker is let go, and removed when the
    // book was compiled.
    std::unique_ptr<CompileHold> TakeHold();

  private:
    WorkFolder(std::string path, std::unique_ptr<platform::HeldFile> marker);

    std::string path_;
    std::unique_ptr<platform::HeldFile> marker_;
    bool moved_ = false;
};

// Removes the work folders that earlier runs left when they were cut off (never one that a
// running run holds, never anything but a folder of exactly that form holding our marker).
// Returns how many it removed.
int RemoveLeftoverWorkFolders(const std::string& parent);
