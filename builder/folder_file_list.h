// A FileList over a real folder, for folvane-cli, tests and any front-end that wants one.
#pragma once

#include <string>
#include <vector>

#include "builder/run_controls.h"

// Whether a name ends in .txt, .htm or .html, in any letter case.
bool IsSourceFileName(const std::string& name);

class FolderFileList : public FileList {
  public:
    FolderFileList() = default;
    explicit FolderFileList(const std::string& folder) { SetPath(folder); }

    std::string Path() const override { return path_; }
    void SetPath(const std::string& folder) override;
    void Refresh() override;
    int ListCount() const override { return static_cast<int>(names_.size()); }
    std::string List(int index) const override;

  private:
    std::string path_;
    std::vector<std::string> names_;
};
