#include "ui/result_line_action.h"

#include "builder/unicode_text.h"

std::string FailureMessage(const BookReport& report) {
    std::string text = "没能生成这本书：" + (report.reason.empty() ? std::string("原因不明") : report.reason);
    text += "\r\n文件编码：" + (report.encoding.empty() ? std::string("未读取") : report.encoding);
    if (EndsWithIgnoringAsciiCase(report.source, ".txt"))
        text += "\r\n找到的章节：" + std::to_string(report.chapters) + " 个";
    return text;
}

LineChoice ChooseLineAction(const BookReport& report) {
    LineChoice choice;
    choice.title = report.source;
    switch (report.outcome) {
        case BookOutcome::kNoBook:
            break;
        case BookOutcome::kStarted:
            if (report.compiled) {
                choice.action = LineAction::kOpenBook;
                choice.path = report.book;
            } else {
                choice.action = LineAction::kShowMessage;
                choice.text = "这本书还在编译中，编译完成后再双击就能打开。";
            }
            break;
        case BookOutcome::kExists:
            choice.action = LineAction::kOpenFolder;
            choice.path = report.folder;
            break;
        case BookOutcome::kFailed:
            choice.action = LineAction::kShowMessage;
            choice.text = FailureMessage(report);
            break;
    }
    return choice;
}
