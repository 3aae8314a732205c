#!/usr/bin/env python3
"""Writes the benchmark corpus: a deterministic folder tree of .xlsx, .xls and .csv workbooks
with a planted word at known cells.

    bench/generate_corpus.py OUTDIR [--scale N]

Shape (scale 1): ~400 small .xlsx (5 sheets x 200 rows x 10 columns: numbers, dates, Japanese
and ASCII text, plain and shared formulas, a few comments), 20 large .xlsx (50,000 x 10),
100 .csv (UTF-8, UTF-8 with BOM, CP932), 100 .xls (LibreOffice conversions of small .xlsx
files; skipped with a warning when soffice is missing), spread over a 3-level tree with a
hidden folder whose files must not be found. --scale 2 doubles every count.

The rare word "needle" is planted at known cells (OUTDIR-manifest.csv, beside the corpus so it
is not searched itself, lists the ones a search from OUTDIR with sub-folders must find); the word "frequent" fills one cell in five of the large
workbooks' data rows (200,000 hits at scale 1). The .xlsx files are written directly as XML so
that the corpus holds shared formulas, which common writer libraries do not produce.
"""
import argparse
import csv
import io
import os
import random
import shutil
import subprocess
import sys
import tempfile
import zipfile
from xml.sax.saxutils import escape

NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL_NS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG_REL_NS = "http://schemas.openxmlformats.org/package/2006/relationships"
DOC_REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"

JAPANESE = ["東京都", "大阪府", "売上", "請求書", "見積書", "株式会社テスト", "ｶﾀｶﾅ", "検索", "担当者", "合計"]
ASCII = ["alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf", "hotel", "india", "juliet"]


def col_name(index):
    name = ""
    index += 1
    while index:
        index, rem = divmod(index - 1, 26)
        name = chr(65 + rem) + name
    return name


class SharedStrings:
    def __init__(self):
        self.items = []
        self.index = {}

    def add(self, text):
        if text not in self.index:
            self.index[text] = len(self.items)
            self.items.append(text)
        return self.index[text]

    def xml(self):
        body = "".join(f"<si><t>{escape(t)}</t></si>" for t in self.items)
        return (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<sst xmlns="{NS}" '
                f'count="{len(self.items)}" uniqueCount="{len(self.items)}">{body}</sst>')


def sheet_xml(rows, sst, rng, plant, frequent_rate, comments):
    """rows: number of data rows. plant: {(row, col): text} cells holding planted text."""
    out = io.StringIO()
    out.write(f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<worksheet xmlns="{NS}" '
              f'xmlns:r="{REL_NS}"><dimension ref="A1:J{rows + 1}"/><sheetData>')
    header = ["番号", "日付", "金額", "単価", "名前", "name", "メモ", "note", "合計", "倍"]
    out.write('<row r="1">')
    for c, text in enumerate(header):
        out.write(f'<c r="{col_name(c)}1" t="s"><v>{sst.add(text)}</v></c>')
    out.write("</row>")
    for r in range(2, rows + 2):
        a = r - 1
        c_val = rng.randint(1, 100000)
        d_val = round(rng.random() * 1000, 2)
        out.write(f'<row r="{r}"><c r="A{r}"><v>{a}</v></c>')
        out.write(f'<c r="B{r}" s="1"><v>{43831 + (r % 1500)}</v></c>')
        out.write(f'<c r="C{r}"><v>{c_val}</v></c><c r="D{r}" s="2"><v>{d_val}</v></c>')
        for c, words in ((4, JAPANESE), (5, ASCII), (6, JAPANESE), (7, ASCII)):
            text = plant.get((r, c))
            if text is None:
                if frequent_rate and c == 7 and r % frequent_rate == 0:
                    text = "frequent item"
                else:
                    text = f"{rng.choice(words)} {rng.choice(words)}"
            out.write(f'<c r="{col_name(c)}{r}" t="s"><v>{sst.add(text)}</v></c>')
        total = a + c_val
        if r == 2:
            out.write(f'<c r="I{r}"><f t="shared" ref="I2:I{rows + 1}" si="0">A2+C2</f>'
                      f"<v>{total}</v></c>")
        else:
            out.write(f'<c r="I{r}"><f t="shared" si="0"/><v>{total}</v></c>')
        out.write(f'<c r="J{r}"><f>D{r}*2</f><v>{round(d_val * 2, 2)}</v></c></row>')
    out.write("</sheetData>")
    if comments:
        out.write('<legacyDrawing r:id="rId2"/>')
    out.write("</worksheet>")
    return out.getvalue()


def comments_xml(comments):
    body = "".join(f'<comment ref="{ref}" authorId="0"><text><r><t xml:space="preserve">'
                   f"{escape(text)}</t></r></text></comment>" for ref, text in comments)
    return (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<comments xmlns="{NS}">'
            f"<authors><author>bench</author></authors><commentList>{body}</commentList></comments>")


def vml_xml(comments):
    shapes = []
    for ref, _ in comments:
        col = 0
        for ch in ref:
            if ch.isalpha():
                col = col * 26 + ord(ch) - 64
        row = int("".join(ch for ch in ref if ch.isdigit()))
        shapes.append(
            '<v:shape type="#_x0000_t202" style="visibility:hidden"><x:ClientData ObjectType="Note">'
            f"<x:Row>{row - 1}</x:Row><x:Column>{col - 1}</x:Column></x:ClientData></v:shape>")
    return ('<xml xmlns:v="urn:schemas-microsoft-com:vml" xmlns:o="urn:schemas-microsoft-com:office:office" '
            'xmlns:x="urn:schemas-microsoft-com:office:excel">' + "".join(shapes) + "</xml>")


STYLES = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<styleSheet xmlns="{NS}">'
          '<numFmts count="1"><numFmt numFmtId="164" formatCode="#,##0.00"/></numFmts>'
          '<fonts count="1"><font><sz val="11"/><name val="Calibri"/></font></fonts>'
          '<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>'
          '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>'
          '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
          '<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
          '<xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
          '<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs>'
          "</styleSheet>")


def write_xlsx(path, sheets, styles=None):
    """sheets: list of (name, sheet_xml_text, comments list, shared strings)."""
    sst = sheets[0][3]
    types = ['<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>',
             '<Default Extension="xml" ContentType="application/xml"/>',
             '<Default Extension="vml" ContentType="application/vnd.openxmlformats-officedocument.vmlDrawing"/>',
             '<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>',
             '<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>',
             '<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>']
    wb_sheets, wb_rels = [], []
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        for i, (name, xml, comments, _) in enumerate(sheets, 1):
            types.append(f'<Override PartName="/xl/worksheets/sheet{i}.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>')
            wb_sheets.append(f'<sheet name="{escape(name)}" sheetId="{i}" r:id="rId{i}"/>')
            wb_rels.append(f'<Relationship Id="rId{i}" Type="{DOC_REL}/worksheet" Target="worksheets/sheet{i}.xml"/>')
            z.writestr(f"xl/worksheets/sheet{i}.xml", xml)
            if comments:
                types.append(f'<Override PartName="/xl/comments{i}.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.comments+xml"/>')
                z.writestr(f"xl/comments{i}.xml", comments_xml(comments))
                z.writestr(f"xl/drawings/vmlDrawing{i}.vml", vml_xml(comments))
                z.writestr(f"xl/worksheets/_rels/sheet{i}.xml.rels",
                           f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<Relationships xmlns="{PKG_REL_NS}">'
                           f'<Relationship Id="rId1" Type="{DOC_REL}/comments" Target="../comments{i}.xml"/>'
                           f'<Relationship Id="rId2" Type="{DOC_REL}/vmlDrawing" Target="../drawings/vmlDrawing{i}.vml"/>'
                           "</Relationships>")
        n = len(sheets)
        wb_rels.append(f'<Relationship Id="rId{n + 1}" Type="{DOC_REL}/styles" Target="styles.xml"/>')
        wb_rels.append(f'<Relationship Id="rId{n + 2}" Type="{DOC_REL}/sharedStrings" Target="sharedStrings.xml"/>')
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
                   '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   + "".join(types) + "</Types>")
        z.writestr("_rels/.rels",
                   f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<Relationships xmlns="{PKG_REL_NS}">'
                   f'<Relationship Id="rId1" Type="{DOC_REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>')
        z.writestr("xl/workbook.xml",
                   f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<workbook xmlns="{NS}" xmlns:r="{REL_NS}">'
                   f'<sheets>{"".join(wb_sheets)}</sheets></workbook>')
        z.writestr("xl/_rels/workbook.xml.rels",
                   f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<Relationships xmlns="{PKG_REL_NS}">'
                   + "".join(wb_rels) + "</Relationships>")
        z.writestr("xl/styles.xml", styles or STYLES)
        z.writestr("xl/sharedStrings.xml", sst.xml())


def make_book(path, rng, sheet_count, rows, planted, frequent_rate, with_comments):
    """planted: list of (sheet_no, row, col, where) to plant "needle"; returns manifest rows."""
    sst = SharedStrings()
    sheets, manifest = [], []
    for s in range(1, sheet_count + 1):
        plant, comments = {}, []
        for sheet_no, r, c, where in planted:
            if sheet_no != s:
                continue
            ref = f"{col_name(c)}{r}"
            if where == "comment":
                comments.append((ref, f"確認 needle {s}"))
            else:
                plant[(r, c)] = f"見つける needle {r}"
            manifest.append((s, f"Sheet{s}", ref, where))
        if with_comments and not comments:
            comments.append(("A2", "担当者メモ"))
        xml = sheet_xml(rows, sst, rng, plant, frequent_rate, comments)
        sheets.append((f"Sheet{s}", xml, comments, sst))
    write_xlsx(path, sheets)
    return manifest


def write_csv(path, rng, rows, encoding, bom, plant_row):
    out = io.StringIO(newline="")
    w = csv.writer(out, lineterminator="\r\n")
    w.writerow(["番号", "日付", "金額", "名前", "name", "メモ"])
    for r in range(2, rows + 2):
        memo = "csv needle" if r == plant_row else rng.choice(JAPANESE)
        w.writerow([r - 1, f"2024/{(r % 12) + 1}/{(r % 28) + 1}", rng.randint(1, 99999),
                    rng.choice(JAPANESE), rng.choice(ASCII), memo])
    data = out.getvalue().encode(encoding)
    with open(path, "wb") as f:
        if bom:
            f.write(b"\xef\xbb\xbf")
        f.write(data)

# The "records" shape: many small files, long and mostly distinct texts, number formats and
# dates on most numbers, hardly any formulas.
RECORD_FORMATS = ['#,##0', '"¥"#,##0;[Red]"¥"-#,##0', '0.00%', 'yyyy"年"m"月"d"日"',
                  '[$-411]ggge"年"m"月"d"日"', 'h:mm:ss', '0.00E+00', 'mmm d, yyyy', '#,##0.0"kg"']
RECORD_STYLES = (f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<styleSheet xmlns="{NS}">'
                 f'<numFmts count="{len(RECORD_FORMATS)}">'
                 + "".join(f'<numFmt numFmtId="{164 + i}" formatCode="{escape(code, {chr(34): "&quot;"})}"/>'
                           for i, code in enumerate(RECORD_FORMATS))
                 + '</numFmts><fonts count="1"><font><sz val="11"/><name val="Calibri"/></font></fonts>'
                 '<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>'
                 '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>'
                 '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
                 f'<cellXfs count="{len(RECORD_FORMATS) + 1}"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
                 + "".join(f'<xf numFmtId="{164 + i}" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
                           for i in range(len(RECORD_FORMATS)))
                 + "</cellXfs></styleSheet>")
VOCABULARY = JAPANESE + ASCII + ["在庫", "発注", "納品", "確認済み", "保留", "返品", "担当", "顧客",
                                 "report", "status", "pending", "shipped", "invoice", "area"]


def long_text(rng, words):
    return "".join(rng.choice(VOCABULARY) + ("、" if rng.random() < 0.3 else " ")
                   for _ in range(words)) + str(rng.randint(1, 10 ** 9))


def record_sheet_xml(rows, sst, rng, plant, comments, with_formula):
    out = io.StringIO()
    out.write(f'<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n<worksheet xmlns="{NS}" '
              f'xmlns:r="{REL_NS}"><sheetData>')
    for r in range(1, rows + 1):
        out.write(f'<row r="{r}">')
        for c in range(8):
            ref = f"{col_name(c)}{r}"
            text = plant.get((r, c))
            if text is None and c in (1, 5):
                text = long_text(rng, rng.randint(8, 60))
            if text is not None:
                out.write(f'<c r="{ref}" t="s"><v>{sst.add(text)}</v></c>')
            elif c == 7 and with_formula:
                out.write(f'<c r="{ref}" s="1"><f>A{r}*2</f><v>{r * 2}</v></c>')
            else:
                style = 1 + (r + c) % len(RECORD_FORMATS)
                value = 43000 + rng.random() * 3000 if style in (4, 5, 6, 8) else rng.random() * 10 ** rng.randint(0, 7)
                out.write(f'<c r="{ref}" s="{style}"><v>{value:.6f}</v></c>')
        out.write("</row>")
    out.write("</sheetData>")
    if comments:
        out.write('<legacyDrawing r:id="rId2"/>')
    out.write("</worksheet>")
    return out.getvalue()


def generate_records(root, rng, scale, place):
    manifest = []
    for i in range(150 * scale):
        path = os.path.join(place(i), f"records_{i:04d}.xlsx")
        sst = SharedStrings()
        sheets = []
        for s in range(1, 4):
            plant, comments = {}, []
            if i % 15 == 0:
                plant[(100 * s, 5)] = long_text(rng, 20) + " needle " + long_text(rng, 5)
                manifest.append((path, s, f"Sheet{s}", f"F{100 * s}", "value"))
            if i % 25 == 3:
                comments.append((f"C{20 * s}", f"要確認 needle {s}"))
                manifest.append((path, s, f"Sheet{s}", f"C{20 * s}", "comment"))
            xml = record_sheet_xml(400, sst, rng, plant, comments, i % 10 == 0)
            sheets.append((f"Sheet{s}", xml, comments, sst))
        write_xlsx(path, sheets, RECORD_STYLES)
    encodings = [("utf-8", False), ("utf-8", True), ("cp932", False)]
    for i in range(600 * scale):
        name = f"list_{i:04d}.csv"
        path = os.path.join(place(i * 7 + 2), name)
        enc, bom = encodings[i % 3]
        rows = 20 + (i * 37) % 180
        plant_row = rows // 2 if i % 50 == 0 else -1
        write_csv(path, rng, rows, enc, bom, plant_row)
        if plant_row > 0:
            manifest.append((path, 1, name[:-4], f"F{plant_row}", "value"))
    return manifest


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("outdir")
    parser.add_argument("--scale", type=int, default=1)
    parser.add_argument("--shape", choices=("mixed", "records"), default="mixed",
                        help="mixed: the default corpus; records: many small files, long "
                             "distinct texts, formatted numbers and dates, few formulas")
    args = parser.parse_args()
    rng = random.Random(20261208)
    root = os.path.abspath(args.outdir)
    if os.path.exists(root):
        shutil.rmtree(root)
    folders = [os.path.join(root, a, b, c) for a in ("a", "b", "c") for b in ("x", "y") for c in ("p", "q")]
    folders += [os.path.join(root, a) for a in ("a", "b", "c")] + [root]
    hidden = os.path.join(root, "b", ".hidden")
    for f in folders + [hidden]:
        os.makedirs(f, exist_ok=True)
    manifest = []
    scale = args.scale

    def place(i):
        return folders[i % len(folders)]

    if args.shape == "records":
        manifest = generate_records(root, rng, scale, place)
        write_manifest(root, manifest)
        return

    for i in range(400 * scale):
        folder = place(i)
        name = f"small_{i:04d}.xlsx"
        planted = [(3, 50, 6, "value")] if i % 40 == 0 else []
        if i % 100 == 7:
            planted.append((2, 10, 3, "comment"))
        rows = make_book(os.path.join(folder, name), rng, 5, 200, planted, 0, i % 10 == 0)
        manifest += [(os.path.join(folder, name),) + r for r in rows]
    for i in range(20 * scale):
        folder = place(i * 3 + 1)
        name = f"large_{i:02d}.xlsx"
        planted = [(1, 25000, 7, "value")] if i % 5 == 0 else []
        rows = make_book(os.path.join(folder, name), rng, 1, 50000, planted, 5, False)
        manifest += [(os.path.join(folder, name),) + r for r in rows]
    encodings = [("utf-8", False), ("utf-8", True), ("cp932", False)]
    for i in range(100 * scale):
        folder = place(i * 7 + 2)
        name = f"data_{i:03d}.csv"
        enc, bom = encodings[i % 3]
        plant_row = 500 if i % 25 == 0 else -1
        write_csv(os.path.join(folder, name), rng, 1000, enc, bom, plant_row)
        if plant_row > 0:
            manifest.append((os.path.join(folder, name), 1, name[:-4], f"F{plant_row}", "value"))
    # Files in the hidden folder hold the word too and must not be found.
    make_book(os.path.join(hidden, "secret.xlsx"), rng, 1, 20, [(1, 5, 6, "value")], 0, False)
    write_csv(os.path.join(hidden, "secret.csv"), rng, 20, "utf-8", False, 3)

    soffice = shutil.which("soffice")
    if soffice is None:
        print("warning: soffice not found, no .xls files written", file=sys.stderr)
    else:
        with tempfile.TemporaryDirectory() as work:
            sources = []
            for i in range(100 * scale):
                src = os.path.join(work, f"old_{i:03d}.xlsx")
                planted = [(2, 100, 4, "value")] if i % 20 == 0 else []
                rows = make_book(src, rng, 5, 200, planted, 0, False)
                sources.append((src, rows, i))
            subprocess.run([soffice, "--headless", "--convert-to", "xls", "--outdir", work]
                           + [s for s, _, _ in sources], check=True, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            for src, rows, i in sources:
                target = os.path.join(place(i * 5 + 3), os.path.basename(src)[:-1])
                shutil.move(src[:-1], target)
                manifest += [(target,) + r for r in rows]
    write_manifest(root, manifest)


def write_manifest(root, manifest):
    with open(os.path.join(os.path.dirname(root), os.path.basename(root) + "-manifest.csv"), "w",
              newline="", encoding="utf-8") as f:
        w = csv.writer(f)
        w.writerow(["file", "sheet_no", "sheet_name", "cell", "where"])
        for row in sorted(manifest):
            w.writerow(row)


if __name__ == "__main__":
    main()
