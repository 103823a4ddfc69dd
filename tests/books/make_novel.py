#!/usr/bin/env python3
"""Writes a GBK novel with a foreword, volumes, chapters with and without titles, a prologue, an
epilogue and lines that only mention chapters, for pictures and checks of a book's contents.

usage: make_novel.py FILE"""
import sys

verses = ["床前明月光，疑是地上霜。", "举头望明月，低头思故乡。", "春眠不觉晓，处处闻啼鸟。", "夜来风雨声，花落知多少。"]
lines = ["《月下集》", "作者：佚名", "", "　　这是一部为演示而写的小书。", "", "楔子"]
lines += ["　　" + verses[i % 4] for i in range(30)]
numbers = "一二三四五六七八九十"
chapter = 0
for volume in range(2):
    lines += ["", f"第{numbers[volume]}卷 {'春' if volume == 0 else '秋'}"]
    for _ in range(3):
        title = ["", " 月光", "：故乡"][chapter % 3]
        lines += ["", f"　　第{numbers[chapter]}章{title}"]
        lines += ["　　" + verses[(chapter + i) % 4] * 3 for i in range(400)]
        lines += [f"　　他又翻到第{numbers[chapter]}章，读了很久，直到天色将明，窗外的鸟儿开始啼叫，才合上书本睡去。"]
        chapter += 1
lines += ["", "尾声", "　　" + verses[0], "", "后记", "　　写完了。"]
with open(sys.argv[1], "wb") as f:
    f.write("\r\n".join(lines).encode("gbk"))
