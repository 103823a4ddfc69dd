#!/usr/bin/env python3
"""Writes the sources that books have been seen to go wrong on into a folder, and a list of
"name<TAB>codec" lines (the Python codec each is written in) to stdout.

usage: make_sources.py FOLDER"""
import os
import sys

folder = sys.argv[1]
poem = "春眠不觉晓，处处闻啼鸟。\r\n夜来风雨声，花落知多少。\r\n"
sources = {
    # A Chinese name with a blank; a text with characters outside GB2312 (雊, –, 喆) that GBK holds.
    "唐诗 三百首.txt": ("gbk", "第一章 春晓\r\n" + poem * 50 + "第二章 雊雉\r\n雊雉鸣矣 – 喆 " + poem * 50),
    # A comma and a quotation mark, which split a window definition or a contents entry.
    "a,b.txt": ("gbk", "逗号 comma, \"quoted\" <tag> & more\r\n" + poem),
    # A name outside code page 936.
    "한국어.txt": ("gbk", poem * 3),
    # UTF-8 with a byte-order mark and a declaration of its own that no longer holds.
    "utf8 page.htm": ("utf-8-sig", '<html><head><meta http-equiv="Content-Type" content="text/html; charset=utf-8">'
                      '<title>说 "你好"</title></head>\r\n<body><p>' + poem + "</p><p>한국어 😀</p></body></html>\r\n"),
    # A long page: its second half is a page of its own, which must declare its charset too.
    "long page.htm": ("gbk", '<html><head><meta http-equiv="Content-Type" content="text/html; charset=gb2312">'
                      "<title>长页</title></head>\r\n<body>\r\n" + ("<p>" + poem + "</p>\r\n") * 2500 + "</body></html>\r\n"),
}
for name, (codec, text) in sources.items():
    with open(os.path.join(folder, name), "wb") as f:
        f.write(text.encode(codec))
    print(f"{name}\t{codec}")
