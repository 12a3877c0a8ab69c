"""Writes small books (.xlsx) by hand, as other spreadsheets lay them out, for the tests of
zeltarn-cli: python3 make_book.py KIND OUT, KIND one of: parts, bomb."""
import sys
import zipfile

CONTENT_TYPES = """<?xml version="1.0" encoding="UTF-8"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
</Types>"""
ROOT_RELS = """<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>
</Relationships>"""
WS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet"


def workbook(date1904, sheets):
    entries = "".join('<sheet name="%s" sheetId="%d" r:id="rId%d"/>' % (n, i + 1, i + 1) for i, n in enumerate(sheets))
    return ('<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
            'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">'
            '<workbookPr date1904="%s"/><sheets>%s</sheets></workbook>' % ("1" if date1904 else "0", entries))


def relations(count):
    rels = "".join('<Relationship Id="rId%d" Type="%s" Target="worksheets/sheet%d.xml"/>' % (i + 1, WS, i + 1)
                   for i in range(count))
    return ('<?xml version="1.0" encoding="UTF-8"?><Relationships '
            'xmlns="http://schemas.openxmlformats.org/package/2006/relationships">%s</Relationships>' % rels)


SHEET_HEAD = ('<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">')


def parts(out):
    # Shared strings with a reading run and an escaped line break; styles with a built-in date,
    # a custom date, a time and a scientific format; the 1904 date system.
    strings = ('<?xml version="1.0" encoding="UTF-8"?><sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
               '<si><t>漢字</t><rPh sb="0" eb="2"><t>カンジ</t></rPh></si>'
               '<si><r><t>two</t></r><r><t>_x000D_lines</t></r></si>'
               '<si><t>=A1</t></si></sst>')
    styles = ('<?xml version="1.0" encoding="UTF-8"?><styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">'
              '<numFmts><numFmt numFmtId="170" formatCode="yyyy/mm/dd"/><numFmt numFmtId="171" formatCode="0.00E+00"/></numFmts>'
              '<fonts><font><sz val="11"/><name val="Calibri"/></font></fonts>'
              '<cellXfs><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="170"/><xf numFmtId="20"/><xf numFmtId="171"/></cellXfs>'
              '</styleSheet>')
    sheet1 = (SHEET_HEAD +
              '<sheetViews><sheetView workbookViewId="0" zoomScale="125"/></sheetViews>'
              '<cols><col min="1" max="1" width="20.7109375" customWidth="1"/><col min="2" max="3" width="0" hidden="1"/></cols>'
              '<sheetData>'
              # Row 1: a shared string, a text of two runs, two numbers, a truth value, an inline string.
              '<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1"><v>0.1</v></c>'
              '<c r="D1"><v>0.25</v></c><c r="E1" t="b"><v>1</v></c>'
              '<c r="F1" t="inlineStr"><is><t>inline</t></is></c></row>'
              # Row 2 without its r, cells without theirs: an error, dates in two formats, a time, scientific.
              '<row><c t="e"><v>#DIV/0!</v></c><c s="1"><v>43904</v></c><c s="2"><v>0</v></c><c s="3"><v>0.5</v></c>'
              '<c s="4"><v>12345</v></c></row>'
              # Row 3: a shared formula written for A3 and used in B3; one with a fixed part, which
              # is none of ours; one we do not compute; one that reads a date; a text that begins
              # with "="; a sum whose block holds dates between its corners.
              '<row r="3"><c r="A3"><f t="shared" ref="A3:B3" si="0">C1*2</f><v>0.2</v></c>'
              '<c r="B3"><f t="shared" si="0"/><v>0.5</v></c><c r="C3"><f>$C$1+1</f><v>1.1</v></c>'
              '<c r="D3" t="str"><f>CONCATENATE(A1,"!")</f><v>漢字!</v></c><c r="E3"><f>B2+1</f><v>43905</v></c>'
              '<c r="F3" t="s"><v>2</v></c><c r="G3"><f>SUM(A2:D2)</f><v>43904.5</v></c></row>'
              # Beyond the sheet: left out.
              '<row r="4"><c r="AA4"><v>1</v></c></row>'
              '</sheetData></worksheet>')
    sheet2 = SHEET_HEAD + '<sheetData><row r="1"><c r="A1"><v>2</v></c></row></sheetData></worksheet>'
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml", CONTENT_TYPES)
        z.writestr("_rels/.rels", ROOT_RELS)
        z.writestr("xl/workbook.xml", workbook(True, ["first", "second"]))
        z.writestr("xl/_rels/workbook.xml.rels", relations(2))
        z.writestr("xl/sharedStrings.xml", strings)
        z.writestr("xl/styles.xml", styles)
        z.writestr("xl/worksheets/sheet1.xml", sheet1)
        z.writestr("xl/worksheets/sheet2.xml", sheet2)


def bomb(out):
    # A worksheet that inflates to hundreds of megabytes from a few hundred kilobytes.
    filler = "<!--" + " " * (1 << 20) + "-->"
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        z.writestr("[Content_Types].xml", CONTENT_TYPES)
        z.writestr("_rels/.rels", ROOT_RELS)
        z.writestr("xl/workbook.xml", workbook(False, ["bomb"]))
        z.writestr("xl/_rels/workbook.xml.rels", relations(1))
        with z.open("xl/worksheets/sheet1.xml", "w") as f:
            f.write(SHEET_HEAD.encode())
            for _ in range(300):
                f.write(filler.encode())
            f.write(b"<sheetData/></worksheet>")


{"parts": parts, "bomb": bomb}[sys.argv[1]](sys.argv[2])
