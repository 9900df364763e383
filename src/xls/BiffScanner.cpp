#include "xls/BiffScanner.h"

#include <cstring>
#include <functional>

#include "xls/Utf16.h"

namespace tessaline::xls {

namespace {

constexpr std::size_t maxRecordLength = 8224;
constexpr int maxRows = 65536;
constexpr int maxColumns = 256;

std::uint16_t get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(get16(p)) | (static_cast<std::uint32_t>(get16(p + 2)) << 16);
}
double getDouble(const std::uint8_t* p) {
    const std::uint64_t bits = get32(p) | (static_cast<std::uint64_t>(get32(p + 4)) << 32);
    double d = 0;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// RK: a compressed number, either a 30-bit integer or the top 30 bits of a double, optionally divided by 100.
double decodeRk(std::uint32_t rk) {
    double value = 0;
    if (rk & 0x02) {
        value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    } else {
        const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&value, &bits, sizeof value);
    }
    return (rk & 0x01) ? value / 100.0 : value;
}

[[noreturn]] void damaged(const std::string& what) { throw FormatError("the workbook is damaged (" + what + ")"); }

struct RecordView {
    std::uint16_t id = 0;
    const std::uint8_t* data = nullptr;
    std::size_t length = 0;
    std::size_t position = 0;  // of the record header in the stream
};

// Calls visit for each record from start until it returns false or the stream ends.
void walkRecords(const Bytes& stream, std::size_t start, const std::function<bool(const RecordView&)>& visit) {
    std::size_t pos = start;
    while (pos < stream.size()) {
        if (pos + 4 > stream.size()) {
            damaged("a record header is cut off");
        }
        RecordView r;
        r.id = get16(stream.data() + pos);
        r.length = get16(stream.data() + pos + 2);
        r.position = pos;
        if (r.length > maxRecordLength || pos + 4 + r.length > stream.size()) {
            damaged("a record runs past the end of the stream");
        }
        r.data = stream.data() + pos + 4;
        if (!visit(r)) {
            return;
        }
        pos += 4 + r.length;
    }
}

std::string errorText(std::uint8_t code) {
    switch (code) {
        case 0x00:
            return "#NULL!";
        case 0x07:
            return "#DIV/0!";
        case 0x0F:
            return "#VALUE!";
        case 0x17:
            return "#REF!";
        case 0x1D:
            return "#NAME?";
        case 0x24:
            return "#NUM!";
        case 0x2A:
            return "#N/A";
        default:
            return "#N/A";
    }
}

// An unformatted BIFF8 string (XLUnicodeString or its short form), possibly continued in CONTINUE records.
// pieces[0] holds the string's own record body from its start; later pieces are continuation bodies whose
// first byte restates the character width.
std::u16string readUnicodeString(const std::vector<std::pair<const std::uint8_t*, std::size_t>>& pieces,
                                 bool shortLength) {
    if (pieces.empty()) {
        damaged("missing string");
    }
    const std::uint8_t* p = pieces[0].first;
    std::size_t left = pieces[0].second;
    const std::size_t headerLength = shortLength ? 2 : 3;
    if (left < headerLength) {
        damaged("a string header is cut off");
    }
    const std::size_t count = shortLength ? p[0] : get16(p);
    std::uint8_t flags = p[headerLength - 1];
    p += headerLength;
    left -= headerLength;
    std::size_t skipAfter = 0;
    if (flags & 0x08) {  // rich text runs
        if (left < 2) {
            damaged("a string header is cut off");
        }
        skipAfter += 4u * get16(p);
        p += 2;
        left -= 2;
    }
    if (flags & 0x04) {  // phonetic block
        if (left < 4) {
            damaged("a string header is cut off");
        }
        skipAfter += get32(p);
        p += 4;
        left -= 4;
    }
    (void)skipAfter;
    std::u16string out;
    out.reserve(count);
    std::size_t piece = 0;
    while (out.size() < count) {
        const bool wide = (flags & 0x01) != 0;
        const std::size_t width = wide ? 2 : 1;
        if (left < width) {
            if (++piece >= pieces.size() || pieces[piece].second < 1) {
                damaged("a string is cut off");
            }
            p = pieces[piece].first;
            left = pieces[piece].second;
            flags = static_cast<std::uint8_t>((flags & ~0x01) | (p[0] & 0x01));
            ++p;
            --left;
            continue;
        }
        out += wide ? static_cast<char16_t>(get16(p)) : static_cast<char16_t>(p[0]);
        p += width;
        left -= width;
    }
    return out;
}

std::u16string latin1(const std::uint8_t* p, std::size_t n) {
    std::u16string out;
    for (std::size_t i = 0; i < n; ++i) {
        out += static_cast<char16_t>(p[i]);
    }
    return out;
}

// Reads the shared string table, whose strings run on across CONTINUE records. Character data that
// continues restates its width in the first byte of the next record; headers, rich-text runs and
// phonetic blocks simply continue.
class SstReader {
public:
    explicit SstReader(const std::vector<std::pair<const std::uint8_t*, std::size_t>>& pieces) : pieces_(pieces) {}

    std::vector<std::u16string> read() {
        std::vector<std::u16string> strings;
        const std::uint32_t unique = get32(bytes(8) + 4);
        strings.reserve(std::min<std::uint32_t>(unique, 65536));
        for (std::uint32_t i = 0; i < unique; ++i) {
            if (atEnd()) {
                break;  // some writers overstate the count; the strings present are still good
            }
            strings.push_back(readString());
        }
        return strings;
    }

private:
    bool atEnd() {
        while (piece_ < pieces_.size() && offset_ >= pieces_[piece_].second) {
            ++piece_;
            offset_ = 0;
        }
        return piece_ >= pieces_.size();
    }

    // n bytes that must lie in one piece; a piece boundary just before them is crossed.
    const std::uint8_t* bytes(std::size_t n) {
        if (atEnd() || pieces_[piece_].second - offset_ < n) {
            damaged("the shared string table is cut off");
        }
        const std::uint8_t* p = pieces_[piece_].first + offset_;
        offset_ += n;
        return p;
    }

    void skip(std::uint64_t n) {
        while (n > 0) {
            if (atEnd()) {
                damaged("the shared string table is cut off");
            }
            const std::size_t step =
                static_cast<std::size_t>(std::min<std::uint64_t>(n, pieces_[piece_].second - offset_));
            offset_ += step;
            n -= step;
        }
    }

    std::u16string readString() {
        const std::size_t count = get16(bytes(2));
        std::uint8_t flags = *bytes(1);
        std::uint64_t runs = 0;
        std::uint64_t phonetic = 0;
        if (flags & 0x08) {
            runs = 4u * get16(bytes(2));
        }
        if (flags & 0x04) {
            phonetic = get32(bytes(4));
        }
        std::u16string out;
        out.reserve(count);
        while (out.size() < count) {
            if (offset_ >= pieces_[piece_].second) {
                ++piece_;
                offset_ = 0;
                if (piece_ >= pieces_.size() || pieces_[piece_].second < 1) {
                    damaged("the shared string table is cut off");
                }
                flags = static_cast<std::uint8_t>((flags & ~0x01) | (pieces_[piece_].first[0] & 0x01));
                offset_ = 1;
                continue;
            }
            const bool wide = (flags & 0x01) != 0;
            const std::uint8_t* p = pieces_[piece_].first + offset_;
            const std::size_t left = pieces_[piece_].second - offset_;
            if (wide) {
                if (left < 2) {
                    damaged("a character is split between records");
                }
                out += static_cast<char16_t>(get16(p));
                offset_ += 2;
            } else {
                out += static_cast<char16_t>(p[0]);
                offset_ += 1;
            }
        }
        skip(runs + phonetic);
        return out;
    }

    const std::vector<std::pair<const std::uint8_t*, std::size_t>>& pieces_;
    std::size_t piece_ = 0;
    std::size_t offset_ = 0;
};

// Empty text leaves a cell empty, as it does in Excel.
automation::Variant textValue(const std::u16string& text) {
    return text.empty() ? automation::Variant() : automation::Variant(utf16ToUtf8(text));
}

void checkCell(int row, int column) {
    if (row < 0 || row >= maxRows || column < 0 || column >= maxColumns) {
        damaged("a cell lies outside the sheet");
    }
}

void scanSheet(const Bytes& stream, ScannedSheet& sheet, int biffVersion, const std::vector<std::u16string>& sst) {
    if (sheet.offset >= stream.size()) {
        damaged("a sheet lies beyond the end of the stream");
    }
    bool first = true;
    int depth = 0;
    // A FORMULA whose result is text is followed by a STRING record that carries the text.
    std::optional<std::size_t> pendingString;
    std::vector<std::pair<const std::uint8_t*, std::size_t>> stringPieces;
    bool collectingString = false;
    auto finishString = [&] {
        if (collectingString && pendingString) {
            std::u16string text =
                biffVersion == 8
                    ? readUnicodeString(stringPieces, false)
                    : (stringPieces[0].second >= 2
                           ? latin1(stringPieces[0].first + 2,
                                    std::min<std::size_t>(get16(stringPieces[0].first), stringPieces[0].second - 2))
                           : std::u16string());
            if (!text.empty()) {
                sheet.cells[*pendingString].value = automation::Variant(utf16ToUtf8(text));
            }
            pendingString.reset();
        }
        collectingString = false;
        stringPieces.clear();
    };
    walkRecords(stream, sheet.offset, [&](const RecordView& r) {
        if (first) {
            if (r.id != 0x0809 || r.length < 4) {
                damaged("a sheet does not start where the workbook says");
            }
            first = false;
            depth = 1;
            return true;
        }
        if (collectingString && r.id != 0x003C) {
            finishString();
        }
        if (r.id == 0x0809) {
            ++depth;  // an embedded chart or similar inner substream
            return true;
        }
        if (r.id == 0x000A) {
            return --depth > 0;
        }
        if (depth != 1) {
            return true;
        }
        auto add = [&](int row, int column, std::optional<automation::Variant> value) {
            checkCell(row, column);
            sheet.cells.push_back({row, column, std::move(value)});
        };
        switch (r.id) {
            case 0x00FD: {  // LABELSST
                if (r.length < 10) {
                    damaged("a cell record is too short");
                }
                const std::uint32_t index = get32(r.data + 6);
                if (index >= sst.size()) {
                    damaged("a cell refers to a missing shared string");
                }
                add(get16(r.data), get16(r.data + 2), textValue(sst[index]));
                break;
            }
            case 0x0204:  // LABEL
            case 0x00D6:  // RSTRING
                if (r.length < 8) {
                    damaged("a cell record is too short");
                }
                if (biffVersion == 8) {
                    add(get16(r.data), get16(r.data + 2),
                        textValue(readUnicodeString({{r.data + 6, r.length - 6}}, false)));
                } else {
                    // Text in the workbook's code page: left to the code-page aware reader.
                    add(get16(r.data), get16(r.data + 2), std::nullopt);
                }
                break;
            case 0x0203:  // NUMBER
                if (r.length < 14) {
                    damaged("a cell record is too short");
                }
                add(get16(r.data), get16(r.data + 2), automation::Variant(getDouble(r.data + 6)));
                break;
            case 0x027E:  // RK
                if (r.length < 10) {
                    damaged("a cell record is too short");
                }
                add(get16(r.data), get16(r.data + 2), automation::Variant(decodeRk(get32(r.data + 6))));
                break;
            case 0x00BD: {  // MULRK: several RK values in one row
                if (r.length < 6 + 6 || (r.length - 6) % 6 != 0) {
                    damaged("a cell record is too short");
                }
                const int row = get16(r.data);
                const int firstColumn = get16(r.data + 2);
                const std::size_t count = (r.length - 6) / 6;
                for (std::size_t i = 0; i < count; ++i) {
                    add(row, firstColumn + static_cast<int>(i),
                        automation::Variant(decodeRk(get32(r.data + 4 + 6 * i + 2))));
                }
                break;
            }
            case 0x0205:  // BOOLERR
                if (r.length < 8) {
                    damaged("a cell record is too short");
                }
                if (r.data[7] == 0) {
                    add(get16(r.data), get16(r.data + 2), automation::Variant(r.data[6] != 0));
                } else {
                    add(get16(r.data), get16(r.data + 2), automation::Variant(errorText(r.data[6])));
                }
                break;
            case 0x0006: {  // FORMULA: the program keeps values only, so the cached result stands for it
                if (r.length < 20) {
                    damaged("a formula record is too short");
                }
                const int row = get16(r.data);
                const int column = get16(r.data + 2);
                const std::uint8_t* result = r.data + 6;
                if (get16(result + 6) != 0xFFFF) {
                    add(row, column, automation::Variant(getDouble(result)));
                } else if (result[0] == 0) {
                    add(row, column, automation::Variant());
                    pendingString = sheet.cells.size() - 1;
                } else if (result[0] == 1) {
                    add(row, column, automation::Variant(result[2] != 0));
                } else if (result[0] == 2) {
                    add(row, column, automation::Variant(errorText(result[2])));
                } else {
                    add(row, column, automation::Variant());  // empty text: no value
                }
                break;
            }
            case 0x0207:  // STRING
                if (pendingString) {
                    collectingString = true;
                    stringPieces.assign(1, {r.data, r.length});
                }
                break;
            case 0x003C:  // CONTINUE
                if (collectingString) {
                    stringPieces.emplace_back(r.data, r.length);
                }
                break;
            case 0x0200:  // DIMENSIONS
                // The code-page reader sizes its cell grid by this record, so an absurd claim must not
                // reach it.
                if (biffVersion == 8 && r.length >= 14) {
                    if (get32(r.data + 4) > static_cast<std::uint32_t>(maxRows) || get16(r.data + 10) > maxColumns ||
                        get32(r.data) > get32(r.data + 4) || get16(r.data + 8) > get16(r.data + 10)) {
                        damaged("the sheet's dimensions are out of range");
                    }
                } else if (biffVersion == 5 && r.length >= 8) {
                    if (get16(r.data + 6) > maxColumns || get16(r.data) > get16(r.data + 2) ||
                        get16(r.data + 4) > get16(r.data + 6)) {
                        damaged("the sheet's dimensions are out of range");
                    }
                }
                break;
            default:
                break;
        }
        return true;
    });
    if (collectingString) {
        finishString();
    }
    if (depth != 0) {
        damaged("a sheet is cut off");
    }
}

}  // namespace

ScannedWorkbook scanWorkbookStream(const Bytes& stream) {
    ScannedWorkbook book;
    bool first = true;
    bool ended = false;
    std::vector<std::pair<const std::uint8_t*, std::size_t>> sstPieces;
    std::uint16_t previousId = 0;
    walkRecords(stream, 0, [&](const RecordView& r) {
        const std::uint16_t lastId = previousId;
        if (r.id != 0x003C) {
            previousId = r.id;
        }
        if (first) {
            if (r.id != 0x0809 || r.length < 4) {
                throw FormatError("the file is not an Excel 97-2003 workbook");
            }
            const std::uint16_t version = get16(r.data);
            if (version == 0x0600) {
                book.biffVersion = 8;
            } else if (version == 0x0500) {
                book.biffVersion = 5;
            } else {
                throw FormatError("the workbook is in an Excel format older than Excel 95");
            }
            if (get16(r.data + 2) != 0x0005) {
                throw FormatError("the file is not an Excel workbook");
            }
            first = false;
            return true;
        }
        switch (r.id) {
            case 0x002F:  // FILEPASS
                book.encrypted = true;
                break;
            case 0x003D:  // WINDOW1
                if (r.length >= 12) {
                    book.activeTab = get16(r.data + 10);
                }
                break;
            case 0x0085: {  // BOUNDSHEET
                if (r.length < 8) {
                    damaged("a sheet entry is too short");
                }
                ScannedSheet sheet;
                sheet.offset = get32(r.data);
                sheet.type = r.data[5];
                if (book.biffVersion == 8) {
                    sheet.name = utf16ToUtf8(readUnicodeString({{r.data + 6, r.length - 6}}, true));
                } else {
                    const std::size_t n = std::min<std::size_t>(r.data[6], r.length - 7);
                    sheet.name = utf16ToUtf8(latin1(r.data + 7, n));
                }
                book.sheets.push_back(std::move(sheet));
                break;
            }
            case 0x00FC:  // SST
                sstPieces.assign(1, {r.data, r.length});
                break;
            case 0x003C:  // CONTINUE
                if (lastId == 0x00FC) {
                    sstPieces.emplace_back(r.data, r.length);
                }
                break;
            case 0x000A:
                ended = true;
                return false;
            default:
                break;
        }
        return true;
    });
    if (first) {
        throw FormatError("the workbook stream is empty");
    }
    if (book.encrypted) {
        return book;  // the records past FILEPASS are encrypted and cannot be walked
    }
    if (!ended) {
        damaged("the workbook's global records are cut off");
    }
    std::vector<std::u16string> sst;
    if (!sstPieces.empty()) {
        if (sstPieces[0].second < 8) {
            damaged("the shared string table is cut off");
        }
        sst = SstReader(sstPieces).read();
    }
    for (ScannedSheet& sheet : book.sheets) {
        if (sheet.type == 0) {
            scanSheet(stream, sheet, book.biffVersion, sst);
        }
    }
    return book;
}

}  // namespace tessaline::xls
