#include <gtest/gtest.h>

#include <random>

#include "XlsTestSupport.h"
#include "xls/BiffWriter.h"
#include "xls/CompoundFile.h"
#include "xls/XlsFile.h"

namespace tessaline::xls {
namespace {

using automation::Variant;
using testing::TempDir;

// The message a user sees must say which file and what is wrong with it.
void expectRefused(const std::string& path, const std::string& reason) {
    try {
        readWorkbook(path);
        FAIL() << "read " << path;
    } catch (const XlsError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(path), std::string::npos) << message;
        EXPECT_NE(message.find(reason), std::string::npos) << message;
    }
}

WorkbookData sample() {
    WorkbookData book;
    book.sheets.push_back(SheetData{"Excel", {}});
    for (int row = 1; row <= 400; ++row) {
        book.sheets[0].cells[{row, 1}] = Variant("第" + std::to_string(row) + "行 " + std::string(row % 50, 'x'));
        book.sheets[0].cells[{row, 2}] = Variant(row * 1.5);
        book.sheets[0].cells[{row, 3}] = Variant(row % 2 == 0);
    }
    book.sheets.push_back(SheetData{"Word", {{{1, 1}, Variant("w")}}});
    return book;
}

TEST(XlsBadFiles, EachKindOfWrongFileIsNamedInTheMessage) {
    TempDir dir;
    expectRefused(dir.file("missing.xls"), "does not exist");

    testing::writeBytes(dir.file("empty.xls"), {});
    expectRefused(dir.file("empty.xls"), "empty");

    const std::string text = "序号,ID\n1,2\n";
    testing::writeBytes(dir.file("text.xls"), std::vector<std::uint8_t>(text.begin(), text.end()));
    expectRefused(dir.file("text.xls"), "not an Excel 97-2003 workbook");

    testing::writeBytes(dir.file("renamed.xls"), {'P', 'K', 3, 4, 20, 0, 6, 0, 8, 0, 0, 0, 0, 0});
    expectRefused(dir.file("renamed.xls"), ".xlsx");

    // A compound file of another program, such as a Word document.
    testing::writeBytes(dir.file("word.xls"), writeSingleStreamCompoundFile("WordDocument", Bytes(5000, 0)));
    expectRefused(dir.file("word.xls"), "not an Excel workbook");

    // Password-protected .xlsx files are compound files holding an encrypted package.
    testing::writeBytes(dir.file("locked.xlsx.xls"), writeSingleStreamCompoundFile("EncryptedPackage", Bytes(5000, 7)));
    expectRefused(dir.file("locked.xlsx.xls"), "password");
}

TEST(XlsBadFiles, PasswordProtectedWorkbookIsRefused) {
    // A workbook saved with a password carries FILEPASS right after its first BOF; everything after it is
    // enciphered, so the walk must stop rather than read garbage.
    Bytes stream = buildWorkbookStream(sample());
    const std::size_t afterBof = 4 + (stream[2] | (stream[3] << 8));
    const Bytes filepass = {0x2F, 0x00, 0x06, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00};
    stream.insert(stream.begin() + static_cast<std::ptrdiff_t>(afterBof), filepass.begin(), filepass.end());
    TempDir dir;
    testing::writeBytes(dir.file("secret.xls"), writeSingleStreamCompoundFile("Workbook", stream));
    expectRefused(dir.file("secret.xls"), "password");
}

TEST(XlsBadFiles, EveryTruncationIsRefusedCleanly) {
    TempDir dir;
    const std::string good = dir.file("good.xls");
    writeWorkbook(good, sample());
    const auto bytes = testing::readBytes(good);
    // The directory is the last sector; every cut before it loses part of the workbook.
    const std::size_t directory = bytes.size() - 512;
    for (std::size_t length = 1; length < directory + 256; length += length < 1100 ? 7 : 211) {
        testing::writeBytes(dir.file("cut.xls"), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + length));
        EXPECT_THROW(readWorkbook(dir.file("cut.xls")), XlsError) << "cut at " << length;
    }
    // A cut among the unused directory slots loses nothing, and the workbook still opens whole.
    testing::writeBytes(dir.file("cut.xls"), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + directory + 300));
    EXPECT_EQ(readWorkbook(dir.file("cut.xls")).sheets[0].cells, sample().sheets[0].cells);
}

TEST(XlsBadFiles, DamagedRecordsNeverEscapeAsAnythingButXlsError) {
    TempDir dir;
    const Bytes stream = buildWorkbookStream(sample());
    std::mt19937 random(20240601);
    int readable = 0;
    for (int round = 0; round < 400; ++round) {
        Bytes damaged = stream;
        const int hits = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < hits; ++i) {
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        }
        testing::writeBytes(dir.file("damaged.xls"), writeSingleStreamCompoundFile("Workbook", damaged));
        try {
            readWorkbook(dir.file("damaged.xls"));
            ++readable;
        } catch (const XlsError&) {
        } catch (const std::exception& e) {
            FAIL() << "round " << round << ": " << e.what();
        }
    }
    // Most single-byte hits land in cell data and leave a readable workbook.
    EXPECT_GT(readable, 0);
}

TEST(XlsBadFiles, DamagedContainerHeadersAreRefused) {
    TempDir dir;
    const std::string good = dir.file("good.xls");
    writeWorkbook(good, sample());
    const auto bytes = testing::readBytes(good);
    // Sector shift, FAT count, directory start, DIFAT start and the first FAT sector number.
    for (std::size_t offset : {30u, 44u, 48u, 68u, 76u}) {
        for (std::uint8_t value : {0x00, 0x7F, 0xFF}) {
            auto damaged = bytes;
            damaged[offset] = value;
            damaged[offset + 1] = value;
            testing::writeBytes(dir.file("header.xls"), damaged);
            try {
                readWorkbook(dir.file("header.xls"));
            } catch (const XlsError&) {
            }
        }
    }
}

}  // namespace
}  // namespace tessaline::xls
