#include "ui/form2.h"

#include "ui/form_layout.h"
#include "ui/label_text.h"

bool Form2::Show() {
    if (!window()) {
        const RECT client = kForm2Client.Pixels();
        if (!CreateForm(resources_.instance(), kForm2Title, kFixedFormStyle, client.right, client.bottom)) {
            return false;
        }
    }
    ShowWindow(window(), IsIconic(window()) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window());
    return true;
}

RECT Form2::Label1Rect() {
    return kForm2Label1.place.Pixels();
}

LRESULT Form2::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        default:
            return FormWindow::HandleMessage(message, wparam, lparam);
    }
}

void Form2::Paint() {
    ScopedPaint paint(window());
    ScopedSelect font(paint.get(), resources_.font());
    DrawLabelText(paint.get(), Label1Rect(), kForm2Text, kForm2Label1.text_colour.Resolve());
}
