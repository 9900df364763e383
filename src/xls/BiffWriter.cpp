#include "xls/BiffWriter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "xls/Utf16.h"

namespace tessaline::xls {

namespace {

constexpr std::size_t maxRecordData = 8224;
constexpr int maxRows = 65536;
constexpr int maxColumns = 256;
constexpr std::size_t maxCellText = 32767;
constexpr std::size_t maxSheetName = 31;
constexpr std::uint16_t cellXf = 15;  // the first cell XF, after the 15 style XFs

enum Record : std::uint16_t {
    BOF = 0x0809,
    EOF_ = 0x000A,
    CODEPAGE = 0x0042,
    WINDOW1 = 0x003D,
    DATEMODE = 0x0022,
    PRECISION = 0x000E,
    BOOKBOOL = 0x00DA,
    FONT = 0x0031,
    XF = 0x00E0,
    STYLE = 0x0293,
    BOUNDSHEET = 0x0085,
    SST = 0x00FC,
    CONTINUE = 0x003C,
    EXTSST = 0x00FF,
    DIMENSIONS = 0x0200,
    WINDOW2 = 0x023E,
    LABELSST = 0x00FD,
    NUMBER = 0x0203,
    BOOLERR = 0x0205,
    INTERFACEHDR = 0x00E1,
    INTERFACEEND = 0x00E2,
    MMS = 0x00C1,
};

class Buffer {
public:
    void u8(std::uint32_t v) { data.push_back(static_cast<std::uint8_t>(v)); }
    void u16(std::uint32_t v) {
        u8(v & 0xFF);
        u8((v >> 8) & 0xFF);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void f64(double v) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        u32(static_cast<std::uint32_t>(bits));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    void utf16(const std::u16string& s) {
        for (char16_t c : s) {
            u16(c);
        }
    }
    Bytes data;
};

void appendRecord(Bytes& out, std::uint16_t id, const Bytes& body) {
    out.push_back(static_cast<std::uint8_t>(id));
    out.push_back(static_cast<std::uint8_t>(id >> 8));
    out.push_back(static_cast<std::uint8_t>(body.size()));
    out.push_back(static_cast<std::uint8_t>(body.size() >> 8));
    out.insert(out.end(), body.begin(), body.end());
}

Bytes bofBody(std::uint16_t substreamType) {
    Buffer b;
    b.u16(0x0600);  // BIFF8
    b.u16(substreamType);
    b.u16(0x0DBB);  // build and year of the writing application, as Excel 97 stamps them
    b.u16(0x07CC);
    b.u32(0);
    b.u32(0x00000006);
    return b.data;
}

Bytes fontBody() {
    Buffer b;
    b.u16(200);     // 10 points, in twips
    b.u16(0);       // no bold/italic flags
    b.u16(0x7FFF);  // automatic colour
    b.u16(400);     // normal weight
    b.u16(0);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    const std::string name = "Arial";
    b.u8(static_cast<std::uint32_t>(name.size()));
    b.u8(0);  // 8-bit characters
    for (char c : name) {
        b.u8(static_cast<std::uint8_t>(c));
    }
    return b.data;
}

Bytes xfBody(bool style) {
    Buffer b;
    b.u16(0);                        // font 0
    b.u16(0);                        // General number format
    b.u16(style ? 0xFFF5 : 0x0001);  // style XF (parent 0xFFF) or locked cell XF with parent 0
    b.u8(0x20);                      // bottom-aligned
    b.u8(0);
    b.u8(0);
    b.u8(style ? 0xF4 : 0x00);
    b.u32(0);
    b.u32(0);
    b.u16(0x20C0);  // automatic pattern colours
    return b.data;
}

// A sheet name that Excel would accept: 1 to 31 characters, none of : \ / ? * [ ], not starting or ending
// with an apostrophe.
void checkSheetName(const std::u16string& name, const std::string& utf8) {
    if (name.empty()) {
        throw FormatError("a sheet has an empty name");
    }
    if (name.size() > maxSheetName) {
        throw FormatError("the sheet name '" + utf8 + "' is longer than 31 characters");
    }
    if (name.find_first_of(u":\\/?*[]") != std::u16string::npos) {
        throw FormatError("the sheet name '" + utf8 + "' contains one of the characters : \\ / ? * [ ]");
    }
    if (name.front() == u'\'' || name.back() == u'\'') {
        throw FormatError("the sheet name '" + utf8 + "' begins or ends with an apostrophe");
    }
}

std::u16string foldCase(std::u16string s) {
    for (char16_t& c : s) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return s;
}

// The shared string table, split into CONTINUE records where it outgrows one record. A string's header
// never splits from its first character, and each continued piece restates its character width.
class SstWriter {
public:
    explicit SstWriter(Bytes& stream) : stream_(stream) {}

    void write(const std::vector<std::u16string>& strings, std::uint32_t totalRefs) {
        current_.clear();
        currentId_ = SST;
        Buffer head;
        head.u32(totalRefs);
        head.u32(static_cast<std::uint32_t>(strings.size()));
        current_ = head.data;
        for (std::size_t i = 0; i < strings.size(); ++i) {
            const std::u16string& s = strings[i];
            if (room() < 3 + 2) {
                flush();
            }
            if (i % bucketSize == 0) {
                buckets_.push_back({static_cast<std::uint32_t>(stream_.size() + 4 + current_.size()),
                                    static_cast<std::uint16_t>(4 + current_.size())});
            }
            put16(static_cast<std::uint32_t>(s.size()));
            current_.push_back(0x01);  // 16-bit characters, no rich text, no phonetics
            std::size_t pos = 0;
            while (pos < s.size()) {
                std::size_t fit = room() / 2;
                if (fit == 0) {
                    flush();
                    current_.push_back(0x01);
                    continue;
                }
                std::size_t take = std::min(fit, s.size() - pos);
                // Keep a surrogate pair in one record.
                if (take < s.size() - pos && take > 0 && s[pos + take - 1] >= 0xD800 && s[pos + take - 1] <= 0xDBFF) {
                    --take;
                    if (take == 0) {
                        flush();
                        current_.push_back(0x01);
                        continue;
                    }
                }
                for (std::size_t k = 0; k < take; ++k) {
                    put16(s[pos + k]);
                }
                pos += take;
            }
        }
        flush();
        Buffer ext;
        ext.u16(bucketSize);
        for (const auto& [position, offset] : buckets_) {
            ext.u32(position);
            ext.u16(offset);
            ext.u16(0);
        }
        // EXTSST is an index only; when it would not fit one record, readers do without it.
        if (ext.data.size() <= maxRecordData) {
            appendRecord(stream_, EXTSST, ext.data);
        }
    }

private:
    static constexpr std::uint16_t bucketSize = 8;

    std::size_t room() const { return maxRecordData - current_.size(); }
    void put16(std::uint32_t v) {
        current_.push_back(static_cast<std::uint8_t>(v));
        current_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void flush() {
        appendRecord(stream_, currentId_, current_);
        current_.clear();
        currentId_ = CONTINUE;
    }

    Bytes& stream_;
    Bytes current_;
    std::uint16_t currentId_ = SST;
    std::vector<std::pair<std::uint32_t, std::uint16_t>> buckets_;
};

// Excel clears a cell given empty text, so empty text is not stored; the cell reader also stumbles over
// empty strings in the shared string table.
bool isBlank(const automation::Variant& value) {
    return value.isEmpty() || (value.isString() && value.asStringRaw().empty());
}

}  // namespace

Bytes buildWorkbookStream(const WorkbookData& workbook) {
    if (workbook.sheets.empty()) {
        throw FormatError("a workbook needs at least one sheet");
    }
    if (workbook.sheets.size() > 0xFFFF) {
        throw FormatError("too many sheets");
    }
    std::vector<std::u16string> names;
    std::vector<std::u16string> folded;
    for (const SheetData& sheet : workbook.sheets) {
        std::u16string name = utf8ToUtf16(sheet.name);
        checkSheetName(name, sheet.name);
        std::u16string key = foldCase(name);
        if (std::find(folded.begin(), folded.end(), key) != folded.end()) {
            throw FormatError("two sheets are named '" + sheet.name + "'");
        }
        folded.push_back(std::move(key));
        names.push_back(std::move(name));
    }
    const int active = std::clamp(workbook.activeSheet, 0, static_cast<int>(workbook.sheets.size()) - 1);

    // Shared strings first: every text cell refers to the table by index.
    std::vector<std::u16string> strings;
    std::unordered_map<std::u16string, std::uint32_t> stringIndex;
    std::uint32_t stringRefs = 0;
    for (const SheetData& sheet : workbook.sheets) {
        for (const auto& [pos, value] : sheet.cells) {
            const auto [row, column] = pos;
            if (row < 1 || row > maxRows || column < 1 || column > maxColumns) {
                throw FormatError("the cell at row " + std::to_string(row) + ", column " + std::to_string(column) +
                                  " of sheet '" + sheet.name + "' lies outside 65536 rows by 256 columns");
            }
            if (value.isString() && !value.asStringRaw().empty()) {
                std::u16string text = utf8ToUtf16(value.asStringRaw());
                if (text.size() > maxCellText) {
                    throw FormatError("a text in sheet '" + sheet.name + "' is longer than 32767 characters");
                }
                ++stringRefs;
                if (stringIndex.emplace(text, static_cast<std::uint32_t>(strings.size())).second) {
                    strings.push_back(std::move(text));
                }
            } else if (value.kind() == automation::Variant::Kind::Double && !std::isfinite(value.asDoubleRaw())) {
                throw FormatError("a number in sheet '" + sheet.name + "' is not finite");
            }
        }
    }

    Bytes stream;
    appendRecord(stream, BOF, bofBody(0x0005));
    appendRecord(stream, INTERFACEHDR, Bytes{0xB0, 0x04});
    appendRecord(stream, MMS, Bytes{0, 0});
    appendRecord(stream, INTERFACEEND, {});
    appendRecord(stream, CODEPAGE, Bytes{0xB0, 0x04});  // 1200: strings are UTF-16
    {
        Buffer b;
        b.u16(0x0168);
        b.u16(0x001E);
        b.u16(0x3A98);
        b.u16(0x1DB0);
        b.u16(0x0038);
        b.u16(static_cast<std::uint32_t>(active));
        b.u16(0);
        b.u16(1);
        b.u16(0x0258);
        appendRecord(stream, WINDOW1, b.data);
    }
    appendRecord(stream, DATEMODE, Bytes{0, 0});
    appendRecord(stream, PRECISION, Bytes{1, 0});
    appendRecord(stream, BOOKBOOL, Bytes{0, 0});
    // Font index 4 does not exist in BIFF, so five records give fonts 0, 1, 2, 3 and 5.
    for (int i = 0; i < 5; ++i) {
        appendRecord(stream, FONT, fontBody());
    }
    for (int i = 0; i < 15; ++i) {
        appendRecord(stream, XF, xfBody(true));
    }
    appendRecord(stream, XF, xfBody(false));
    appendRecord(stream, STYLE, Bytes{0x00, 0x80, 0x00, 0xFF});  // built-in "Normal" on XF 0

    std::vector<std::size_t> offsetSlots;
    for (const std::u16string& name : names) {
        Buffer b;
        b.u32(0);  // patched once the sheet's position is known
        b.u8(0);   // visible
        b.u8(0);   // worksheet
        b.u8(static_cast<std::uint32_t>(name.size()));
        b.u8(1);  // 16-bit characters
        b.utf16(name);
        offsetSlots.push_back(stream.size() + 4);
        appendRecord(stream, BOUNDSHEET, b.data);
    }
    SstWriter(stream).write(strings, stringRefs);
    appendRecord(stream, EOF_, {});

    for (std::size_t s = 0; s < workbook.sheets.size(); ++s) {
        const SheetData& sheet = workbook.sheets[s];
        const auto position = static_cast<std::uint32_t>(stream.size());
        for (int k = 0; k < 4; ++k) {
            stream[offsetSlots[s] + k] = static_cast<std::uint8_t>(position >> (8 * k));
        }
        appendRecord(stream, BOF, bofBody(0x0010));
        int firstRow = maxRows, lastRow = -1, firstCol = maxColumns, lastCol = -1;
        for (const auto& [pos, value] : sheet.cells) {
            if (isBlank(value)) {
                continue;
            }
            firstRow = std::min(firstRow, pos.first - 1);
            lastRow = std::max(lastRow, pos.first - 1);
            firstCol = std::min(firstCol, pos.second - 1);
            lastCol = std::max(lastCol, pos.second - 1);
        }
        {
            Buffer b;
            const bool empty = lastRow < 0;
            b.u32(empty ? 0 : static_cast<std::uint32_t>(firstRow));
            b.u32(empty ? 0 : static_cast<std::uint32_t>(lastRow + 1));
            b.u16(empty ? 0 : static_cast<std::uint32_t>(firstCol));
            b.u16(empty ? 0 : static_cast<std::uint32_t>(lastCol + 1));
            b.u16(0);
            appendRecord(stream, DIMENSIONS, b.data);
        }
        for (const auto& [pos, value] : sheet.cells) {
            Buffer b;
            b.u16(static_cast<std::uint32_t>(pos.first - 1));
            b.u16(static_cast<std::uint32_t>(pos.second - 1));
            b.u16(cellXf);
            switch (value.kind()) {
                case automation::Variant::Kind::Empty:
                    continue;
                case automation::Variant::Kind::String:
                    if (isBlank(value)) {
                        continue;
                    }
                    b.u32(stringIndex.at(utf8ToUtf16(value.asStringRaw())));
                    appendRecord(stream, LABELSST, b.data);
                    break;
                case automation::Variant::Kind::Boolean:
                    b.u8(value.asBoolRaw() ? 1 : 0);
                    b.u8(0);
                    appendRecord(stream, BOOLERR, b.data);
                    break;
                case automation::Variant::Kind::Long:
                    b.f64(static_cast<double>(value.asLongRaw()));
                    appendRecord(stream, NUMBER, b.data);
                    break;
                case automation::Variant::Kind::Double:
                    b.f64(value.asDoubleRaw());
                    appendRecord(stream, NUMBER, b.data);
                    break;
            }
        }
        {
            Buffer b;
            const bool isActive = static_cast<int>(s) == active;
            // Grid lines, headers, zeros, outline symbols and automatic grid colour; the active sheet is
            // also selected and shown.
            b.u16(isActive ? 0x06B6 : 0x00B6);
            b.u16(0);
            b.u16(0);
            b.u32(0x40);
            b.u16(0);
            b.u16(0);
            b.u32(0);
            appendRecord(stream, WINDOW2, b.data);
        }
        appendRecord(stream, EOF_, {});
    }
    // Streams below 4096 bytes belong in the container's mini stream; padding after the last EOF keeps
    // the workbook in regular sectors, and readers stop at that EOF.
    if (stream.size() < 4096) {
        stream.resize(4096, 0);
    }
    return stream;
}

}  // namespace tessaline::xls
