#include "ui/taskbar_progress.h"

#include <shobjidl.h>

namespace {

class ShellTaskbarProgress final : public TaskbarProgress {
  public:
    ShellTaskbarProgress(HWND window, ITaskbarList3* taskbar) : window_(window), taskbar_(taskbar) {}
    ~ShellTaskbarProgress() override { taskbar_->Release(); }
    ShellTaskbarProgress(const ShellTaskbarProgress&) = delete;
    ShellTaskbarProgress& operator=(const ShellTaskbarProgress&) = delete;

    void Show(uint64_t done, uint64_t total) override {
        if (!shown_) {
            taskbar_->SetProgressState(window_, TBPF_NORMAL);
            shown_ = true;
        }
        taskbar_->SetProgressValue(window_, done, total);
    }
    void Clear() override {
        taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
        shown_ = false;
    }

  private:
    HWND window_;
    ITaskbarList3* taskbar_;
    bool shown_ = false;
};

}  // namespace

std::unique_ptr<TaskbarProgress> CreateTaskbarProgress(HWND window) {
    ITaskbarList3* taskbar = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&taskbar))) ||
        !taskbar) {
        return nullptr;
    }
    if (FAILED(taskbar->HrInit())) {
        taskbar->Release();
        return nullptr;
    }
    return std::make_unique<ShellTaskbarProgress>(window, taskbar);
}
