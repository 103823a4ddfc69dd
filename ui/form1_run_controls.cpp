#include "ui/form1_run_controls.h"

#include "ui/form1.h"
#include "win/wide_text.h"

Form1RunControls::Form1RunControls(Form1& form) : form_(form), source_(form.File1()) {}

FileList& Form1RunControls::File2() {
    return form_.File2();
}

ResultList& Form1RunControls::List1() {
    return form_.List1();
}

void Form1RunControls::SetStatusText(const std::string& text) {
    form_.SetRunStatus(text);
}

void Form1RunControls::SetCountText(const std::string& text) {
    form_.SetLabelCaption(Form1Label::Label11, WideFromUtf8(text));
}

std::string Form1RunControls::PageHead() {
    return Utf8FromWide(form_.LabelCaption(Form1Label::Label2));
}

std::string Form1RunControls::PageTail() {
    return Utf8FromWide(form_.LabelCaption(Form1Label::Label3));
}

void Form1RunControls::ShowMessage(const std::string& text, const std::string& title) {
    form_.ShowRunMessage(text, title);
}

bool Form1RunControls::Yield() {
    return form_.YieldToMessages();
}

void Form1RunControls::OnSourceFile(int index, int count, const std::string& name) {
    form_.OnSourceFile(index, count, name);
}

void Form1RunControls::OnFileProgress(int percent) {
    form_.OnFileProgress(percent);
}

void Form1RunControls::OnBookReport(const BookReport& report) {
    form_.OnBookReport(report);
}
