#!/usr/bin/env python3
"""Checks one compiled book with readers that are not ours: enum_chmLib and extract_chmLib
(chmlib) and 7z (7-Zip) must list and unpack every page byte for byte as it lies in the book's
folder; the #SYSTEM file must name the first page as the default topic; every page, decoded
strictly with the charset it declares, must hold the source's text; every contents entry must
point at something the book holds.

usage: check_book.py [--pages-only] BOOK.chm BOOK_FOLDER SOURCE SOURCE_CODEC
SOURCE_CODEC is the Python codec the source is written in (gbk, utf-8-sig, utf-16, big5, ...).
--pages-only checks the pages alone (for books a stand-in compiler made).
Exits 1 with a message per fault found."""
import html
import os
import re
import struct
import subprocess
import sys
import tempfile

faults = []


def fault(message):
    faults.append(message)


def run(args, **kwargs):
    env = dict(os.environ, LC_ALL="C.UTF-8", LANG="C.UTF-8")
    return subprocess.run(args, capture_output=True, env=env, **kwargs)


def plain_text(markup):
    """The characters a reader sees, without tags, entities or any white space."""
    markup = re.sub(r"<!--.*?-->|<style.*?</style>|<script.*?</script>", "", markup, flags=re.S | re.I)
    markup = re.sub(r"<[^>]*>", "", markup)
    return re.sub(r"\s+", "", html.unescape(markup))


def declared_charset(page):
    match = re.search(rb"<meta[^>]*charset\s*=\s*['\"]?([A-Za-z0-9_-]+)", page, re.I)
    return match.group(1).decode("ascii").lower() if match else None


def system_records(data):
    records = {}
    pos = 4  # version
    while pos + 4 <= len(data):
        code, length = struct.unpack_from("<HH", data, pos)
        records.setdefault(code, data[pos + 4 : pos + 4 + length])
        pos += 4 + length
    return records


def decode_name(raw):
    raw = raw.split(b"\0")[0]
    for codec in ("utf-8", "gbk"):
        try:
            return raw.decode(codec)
        except UnicodeDecodeError:
            pass
    return None


def main():
    args = sys.argv[1:]
    pages_only = args[:1] == ["--pages-only"]
    if pages_only:
        args = args[1:]
    if len(args) != 4:
        sys.exit(__doc__)
    book, folder, source, codec = args
    pages = sorted(name for name in os.listdir(folder) if name.endswith(".htm"))
    if not pages:
        sys.exit(f"{folder}: no pages")

    if not pages_only:
        check_with_readers(book, folder, pages)
    check_pages(folder, pages, source, codec)

    for message in faults:
        print(f"{book}: {message}")
    sys.exit(1 if faults else 0)


def check_with_readers(book, folder, pages):
    listing = run(["enum_chmLib", book])
    if listing.returncode != 0:
        fault(f"enum_chmLib cannot open {book}: {listing.stderr.decode(errors='replace')}")
    listed = set()
    for line in listing.stdout.decode("utf-8", errors="replace").splitlines():
        match = re.search(r"\s(/\S.*)$", line)
        if match:
            listed.add(match.group(1).lstrip("/"))
    for name in pages + ["chm_hhc.hhc", "chm_hhk.hhk", "#SYSTEM"]:
        if name not in listed:
            fault(f"enum_chmLib does not list {name}")

    with tempfile.TemporaryDirectory() as seven, tempfile.TemporaryDirectory() as chmlib:
        unpacked = run(["7z", "x", "-y", "-o" + seven, book])
        if unpacked.returncode != 0:
            fault(f"7z cannot unpack {book}: {unpacked.stdout.decode(errors='replace')[-400:]}")
        run(["extract_chmLib", book, chmlib])
        for name in pages:
            on_disk = open(os.path.join(folder, name), "rb").read()
            for reader, root in (("7z", seven), ("extract_chmLib", chmlib)):
                path = os.path.join(root, name)
                if not os.path.exists(path):
                    fault(f"{reader} did not unpack {name}")
                elif open(path, "rb").read() != on_disk:
                    fault(f"{reader} unpacked {name} with other bytes than the page on disk")

        system_path = os.path.join(seven, "#SYSTEM")
        if os.path.exists(system_path):
            records = system_records(open(system_path, "rb").read())
            topic = decode_name(records.get(2, b""))
            if topic != pages[0]:
                fault(f"#SYSTEM names {topic!r} as the default topic, not {pages[0]!r}")
        else:
            fault("7z found no #SYSTEM file")

        contents_path = os.path.join(seven, "chm_hhc.hhc")
        if os.path.exists(contents_path):
            contents = open(contents_path, "rb").read().decode("gbk", errors="strict")
            for local in re.findall(r'name="Local" value="([^"]*)"', contents):
                target = html.unescape(local).split("#")[0]
                if target not in listed:
                    fault(f"a contents entry points at {target}, which the book does not hold")


def check_pages(folder, pages, source, codec):
    text = ""
    for name in pages:
        page = open(os.path.join(folder, name), "rb").read()
        charset = declared_charset(page)
        if charset is None:
            fault(f"{name} declares no charset")
            continue
        try:
            decoded = page.decode(charset, errors="strict")
            if source.lower().endswith(".txt"):
                decoded = re.sub(r"<head>.*?</head>", "", decoded, flags=re.S)  # our head: title and style
            text += plain_text(decoded)
        except (UnicodeDecodeError, LookupError) as error:
            fault(f"{name} does not decode as the {charset} it declares: {error}")
    expected = plain_text(open(source, "rb").read().decode(codec))
    if source.lower().endswith(".txt"):
        # Text pages show the source's characters; markup in it is escaped, not taken as tags.
        expected = re.sub(r"\s+", "", open(source, "rb").read().decode(codec))
    if text.replace("\ufeff", "") != expected.replace("\ufeff", ""):
        at = next((i for i, (a, b) in enumerate(zip(text, expected)) if a != b), min(len(text), len(expected)))
        fault(f"the pages do not hold the source's text: from character {at} they read "
              f"{text[at:at + 20]!r} where the source has {expected[at:at + 20]!r}")


if __name__ == "__main__":
    main()
