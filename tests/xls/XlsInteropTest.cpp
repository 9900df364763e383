#include <gtest/gtest.h>
#if TESSALINE_HAVE_FREEXL
#include <freexl.h>
#endif

#include "XlsTestSupport.h"
#include "xls/CompoundFile.h"
#include "xls/XlsFile.h"

// Interoperability with other programs: workbooks written by xlwt and LibreOffice are read, and the
// workbooks we write are read by libfreexl and LibreOffice. Tools that are missing skip their tests;
// the project's test command installs them (python3-xlwt, libreoffice-calc-nogui).
namespace tessaline::xls {
namespace {

using automation::Variant;
using testing::cell;
using testing::TempDir;

const std::string longText = [] {
    std::string text;
    for (int i = 0; i < 1500; ++i) {
        text += "命令栏" + std::to_string(i % 10);  // 4 UTF-16 units each: 6000 units, 12000 bytes
    }
    return text;
}();

// The same content for every direction: what each tool must carry across.
WorkbookData interopBook() {
    WorkbookData book;
    SheetData main{"数据", {}};
    main.cells[{1, 1}] = Variant("Caption");
    main.cells[{1, 2}] = Variant("标题(&T)");
    main.cells[{2, 1}] = Variant("第一行\r\n第二行");
    main.cells[{2, 2}] = Variant(longText);
    main.cells[{3, 1}] = Variant(42.0);
    main.cells[{3, 2}] = Variant(-7.0);
    main.cells[{3, 3}] = Variant(3.25);
    main.cells[{3, 4}] = Variant(0.1);
    main.cells[{3, 5}] = Variant(1234567890123.0);
    main.cells[{4, 1}] = Variant(true);
    main.cells[{4, 2}] = Variant(false);
    main.cells[{5, 256}] = Variant("IV5");
    book.sheets.push_back(std::move(main));
    SheetData tall{"Rows", {}};
    for (int row = 1; row <= 65536; row += 1) {
        tall.cells[{row, 1}] = Variant(static_cast<double>(row));
    }
    tall.cells[{65536, 2}] = Variant("last");
    book.sheets.push_back(std::move(tall));
    for (int i = 3; i <= 40; ++i) {
        book.sheets.push_back(SheetData{"S" + std::to_string(i), {{{1, 1}, Variant("sheet " + std::to_string(i))}}});
    }
    book.activeSheet = 2;
    return book;
}

std::string normalizedBreaks(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.erase(at, 1);
    }
    return text;
}

void expectSameCells(const WorkbookData& expected, const WorkbookData& actual, bool lineFeedsOnly) {
    ASSERT_EQ(actual.sheets.size(), expected.sheets.size());
    for (std::size_t s = 0; s < expected.sheets.size(); ++s) {
        const SheetData& want = expected.sheets[s];
        const SheetData& got = actual.sheets[s];
        EXPECT_EQ(got.name, want.name);
        EXPECT_EQ(got.cells.size(), want.cells.size()) << want.name;
        for (const auto& [pos, value] : want.cells) {
            Variant wanted = value;
            if (lineFeedsOnly && value.isString()) {
                wanted = Variant(normalizedBreaks(value.asStringRaw()));
            }
            ASSERT_EQ(cell(got, pos.first, pos.second), wanted) << want.name << " " << pos.first << "," << pos.second;
        }
    }
}

TEST(XlsInterop, ReadsWorkbookWrittenByXlwt) {
    const std::string python = testing::pythonWithXlwt();
    if (python.empty()) {
        GTEST_SKIP() << "python3-xlwt is not installed";
    }
    TempDir dir;
    const std::string script = dir.file("write.py");
    {
        std::ofstream out(script);
        out << R"PY(# -*- coding: utf-8 -*-
import sys, xlwt
book = xlwt.Workbook(encoding='utf-8')
main = book.add_sheet(u'数据')
main.write(0, 0, u'Caption')
main.write(0, 1, u'标题(&T)')
main.write(1, 0, u'第一行\r\n第二行')
main.write(1, 1, u''.join(u'命令栏%d' % (i % 10) for i in range(1500)))
main.write(2, 0, 42)
main.write(2, 1, -7)
main.write(2, 2, 3.25)
main.write(2, 3, 0.1)
main.write(2, 4, 1234567890123)
main.write(3, 0, True)
main.write(3, 1, False)
main.write(4, 255, u'IV5')
tall = book.add_sheet(u'Rows')
for r in range(65536):
    tall.write(r, 0, r + 1)
tall.write(65535, 1, u'last')
for i in range(3, 41):
    book.add_sheet(u'S%d' % i).write(0, 0, u'sheet %d' % i)
book.active_sheet = 2
book.get_sheet(0).set_selected(False)
book.get_sheet(2).set_selected(True)
book.save(sys.argv[1])
)PY";
    }
    const std::string path = dir.file("xlwt.xls");
    ASSERT_EQ(testing::run(python + " " + script + " " + path), 0);
    const WorkbookData read = readWorkbook(path);
    expectSameCells(interopBook(), read, false);
    EXPECT_EQ(read.activeSheet, 2);
}

#if TESSALINE_HAVE_FREEXL
TEST(XlsInterop, LibfreexlReadsOurWorkbook) {
    TempDir dir;
    const std::string path = dir.file("ours.xls");
    writeWorkbook(path, interopBook());
    const void* handle = nullptr;
    ASSERT_EQ(freexl_open(path.c_str(), &handle), FREEXL_OK);
    ASSERT_NE(handle, nullptr);
    unsigned int sheets = 0;
    freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheets);
    EXPECT_EQ(sheets, 40u);
    const char* name = nullptr;
    freexl_get_worksheet_name(handle, 0, &name);
    EXPECT_STREQ(name, "数据");
    ASSERT_EQ(freexl_select_active_worksheet(handle, 0), FREEXL_OK);
    auto text = [&](unsigned row, unsigned short column) {
        FreeXL_CellValue v;
        EXPECT_EQ(freexl_get_cell_value(handle, row, column, &v), FREEXL_OK);
        return v.type == FREEXL_CELL_SST_TEXT || v.type == FREEXL_CELL_TEXT ? std::string(v.value.text_value)
                                                                            : std::string("<not text>");
    };
    auto number = [&](unsigned row, unsigned short column) {
        FreeXL_CellValue v;
        EXPECT_EQ(freexl_get_cell_value(handle, row, column, &v), FREEXL_OK);
        return v.type == FREEXL_CELL_DOUBLE ? v.value.double_value
               : v.type == FREEXL_CELL_INT  ? v.value.int_value
                                            : -999.0;
    };
    EXPECT_EQ(text(0, 1), "标题(&T)");
    EXPECT_EQ(text(1, 0), "第一行\r\n第二行");
    EXPECT_EQ(text(1, 1), longText);
    EXPECT_EQ(number(2, 0), 42.0);
    EXPECT_EQ(number(2, 2), 3.25);
    EXPECT_EQ(number(2, 3), 0.1);
    EXPECT_EQ(number(2, 4), 1234567890123.0);
    // libfreexl has no Boolean type and gives the stored 1 and 0.
    EXPECT_EQ(number(3, 0), 1.0);
    EXPECT_EQ(number(3, 1), 0.0);
    EXPECT_EQ(text(4, 255), "IV5");
    ASSERT_EQ(freexl_select_active_worksheet(handle, 1), FREEXL_OK);
    EXPECT_EQ(number(65535, 0), 65536.0);
    EXPECT_EQ(text(65535, 1), "last");
    freexl_close(handle);
}
#endif

// Converts a workbook with LibreOffice in its own profile, so tests never touch a user's settings.
bool libreOfficeConvert(const TempDir& dir, const std::string& input, const std::string& filter) {
    const std::string command = "cd " + dir.path().string() + " && soffice --headless --norestore " +
                                "-env:UserInstallation=file://" + dir.file("profile") + " --convert-to '" + filter +
                                "' --outdir " + dir.file("out") + " " + input;
    return testing::run(command) == 0;
}

std::vector<std::vector<std::string>> parseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (c == '\n') {
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty() || !rows.back().empty()) {
        rows.back().push_back(field);
    } else {
        rows.pop_back();
    }
    return rows;
}

TEST(XlsInterop, LibreOfficeShowsTheCellsWeWrote) {
    if (!testing::haveLibreOffice()) {
        GTEST_SKIP() << "LibreOffice (libreoffice-calc-nogui) is not installed";
    }
    TempDir dir;
    writeWorkbook(dir.file("ours.xls"), interopBook());
    // Comma, double quote, UTF-8, every sheet to its own file.
    ASSERT_TRUE(libreOfficeConvert(dir, "ours.xls",
                                   "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"));
    const auto main = parseCsv(testing::readText(dir.file("out/ours-数据.csv")));
    ASSERT_GE(main.size(), 5u);
    EXPECT_EQ(main[0][0], "Caption");
    EXPECT_EQ(main[0][1], "标题(&T)");
    EXPECT_EQ(main[1][0], "第一行\n第二行");  // LibreOffice keeps line breaks as LF only
    EXPECT_EQ(main[1][1], longText);
    EXPECT_EQ(main[2][0], "42");
    EXPECT_EQ(main[2][1], "-7");
    EXPECT_EQ(main[2][2], "3.25");
    EXPECT_EQ(main[2][3], "0.1");
    EXPECT_EQ(main[2][4], "1234567890123");
    ASSERT_EQ(main[4].size(), 256u);
    EXPECT_EQ(main[4][255], "IV5");
    const auto rows = parseCsv(testing::readText(dir.file("out/ours-Rows.csv")));
    ASSERT_EQ(rows.size(), 65536u);
    EXPECT_EQ(rows[65535][0], "65536");
    EXPECT_EQ(rows[65535][1], "last");
    EXPECT_EQ(parseCsv(testing::readText(dir.file("out/ours-S40.csv")))[0][0], "sheet 40");
}

TEST(XlsInterop, ReadsWhatLibreOfficeSavesFromOurWorkbook) {
    if (!testing::haveLibreOffice()) {
        GTEST_SKIP() << "LibreOffice (libreoffice-calc-nogui) is not installed";
    }
    TempDir dir;
    const WorkbookData book = interopBook();
    writeWorkbook(dir.file("ours.xls"), book);
    ASSERT_TRUE(libreOfficeConvert(dir, "ours.xls", "xls:MS Excel 97"));
    const WorkbookData read = readWorkbook(dir.file("out/ours.xls"));
    expectSameCells(book, read, true);
    EXPECT_EQ(read.activeSheet, 2);
}

// Excel 95 workbooks keep text in a code page rather than UTF-16; LibreOffice no longer writes them, so the
// test builds a small one record by record: a Simplified Chinese (GBK, code page 936) workbook.
class Biff5Builder {
public:
    void record(std::uint16_t id, const Bytes& body) {
        put16(stream, id);
        put16(stream, static_cast<std::uint16_t>(body.size()));
        stream.insert(stream.end(), body.begin(), body.end());
    }
    static void put16(Bytes& out, std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    static Bytes cellHead(int row, int column) {
        Bytes b;
        put16(b, static_cast<std::uint32_t>(row));
        put16(b, static_cast<std::uint32_t>(column));
        put16(b, 0);
        return b;
    }
    Bytes stream;
};

TEST(XlsInterop, ReadsExcel95WorkbookInItsCodePage) {
    const Bytes gbkTitle = {0xB1, 0xEA, 0xCC, 0xE2};  // 标题
    const Bytes gbkSheet = {0xB9, 0xA4, 0xBE, 0xDF};  // 工具
    Biff5Builder b;
    b.record(0x0809, {0x00, 0x05, 0x05, 0x00, 0, 0, 0, 0});
    b.record(0x0042, {0xA8, 0x03});
    b.record(0x003D, {0, 0, 0, 0, 0, 0x40, 0, 0x20, 0x38, 0, 1, 0, 0, 0, 1, 0, 0x58, 0x02});
    const std::size_t slot = b.stream.size() + 4;
    Bytes sheetEntry = {0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(gbkSheet.size())};
    sheetEntry.insert(sheetEntry.end(), gbkSheet.begin(), gbkSheet.end());
    b.record(0x0085, sheetEntry);
    const std::size_t slot2 = b.stream.size() + 4;
    b.record(0x0085, {0, 0, 0, 0, 0, 0, 3, 'T', 'w', 'o'});
    b.record(0x000A, {});
    auto sheetStart = [&](std::size_t where) {
        const auto at = static_cast<std::uint32_t>(b.stream.size());
        for (int k = 0; k < 4; ++k) {
            b.stream[where + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(at >> (8 * k));
        }
        b.record(0x0809, {0x00, 0x05, 0x10, 0x00, 0, 0, 0, 0});
    };
    sheetStart(slot);
    b.record(0x0200, {0, 0, 3, 0, 0, 0, 2, 0, 0, 0});  // DIMENSIONS: rows 0-2, columns 0-1
    Bytes label = Biff5Builder::cellHead(0, 0);
    Biff5Builder::put16(label, static_cast<std::uint32_t>(gbkTitle.size()));
    label.insert(label.end(), gbkTitle.begin(), gbkTitle.end());
    b.record(0x0204, label);
    Bytes rk = Biff5Builder::cellHead(0, 1);
    rk.insert(rk.end(), {0x0A, 0x00, 0x00, 0x00});  // RK: the whole number 2
    b.record(0x027E, rk);
    Bytes boolerr = Biff5Builder::cellHead(2, 0);
    boolerr.insert(boolerr.end(), {1, 0});
    b.record(0x0205, boolerr);
    b.record(0x000A, {});
    sheetStart(slot2);
    b.record(0x000A, {});
    b.stream.resize(std::max<std::size_t>(b.stream.size(), 4096), 0);

    TempDir dir;
    testing::writeBytes(dir.file("excel95.xls"), writeSingleStreamCompoundFile("Book", b.stream));
#if !TESSALINE_HAVE_FREEXL
    // Built without libfreexl (Windows), the workbook is refused with a reason rather than read wrongly.
    try {
        readWorkbook(dir.file("excel95.xls"));
        FAIL() << "an Excel 95 workbook was read without a code page converter";
    } catch (const XlsError& e) {
        EXPECT_NE(std::string(e.what()).find("Excel 95"), std::string::npos) << e.what();
    }
    return;
#endif
    const WorkbookData read = readWorkbook(dir.file("excel95.xls"));
    ASSERT_EQ(read.sheets.size(), 2u);
    EXPECT_EQ(read.sheets[0].name, "工具");
    EXPECT_EQ(read.sheets[1].name, "Two");
    EXPECT_EQ(cell(read.sheets[0], 1, 1), Variant("标题"));
    EXPECT_EQ(cell(read.sheets[0], 1, 2), Variant(2.0));
    EXPECT_EQ(cell(read.sheets[0], 3, 1), Variant(true));
    EXPECT_EQ(read.sheets[0].cells.size(), 3u);
}

}  // namespace
}  // namespace tessaline::xls
