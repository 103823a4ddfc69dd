// The help window: a small fixed form with the two-step usage text in red.
#pragma once

#include "ui/form_resources.h"
#include "ui/form_window.h"

class Form2 final : public FormWindow {
  public:
    explicit Form2(const FormResources& resources) : resources_(resources) {}

    // Creates the window if it is not open, then shows it modeless without an owner and
    // brings it to the front. Returns false when the window could not be created.
    bool Show();
    // The label's rectangle in client pixels.
    static RECT Label1Rect();

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

  private:
    void Paint();
    const FormResources& resources_;
};
