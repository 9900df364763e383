#include "xls/CompoundFile.h"

#include <algorithm>
#include <cstring>

#include "xls/Utf16.h"

namespace tessaline::xls {

namespace {

constexpr std::uint32_t freeSector = 0xFFFFFFFF;
constexpr std::uint32_t endOfChain = 0xFFFFFFFE;
constexpr std::uint32_t fatSector = 0xFFFFFFFD;
constexpr std::uint32_t difatSector = 0xFFFFFFFC;
constexpr std::uint32_t maxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t noStream = 0xFFFFFFFF;
constexpr std::uint8_t signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::size_t headerSize = 512;
constexpr std::size_t headerDifatEntries = 109;
constexpr std::size_t dirEntrySize = 128;

std::uint16_t get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
void put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}

[[noreturn]] void damaged(const std::string& what) { throw FormatError("the file is damaged (" + what + ")"); }

char16_t lowerAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace

bool hasCompoundSignature(const Bytes& file) {
    return file.size() >= sizeof signature && std::equal(std::begin(signature), std::end(signature), file.begin());
}

CompoundFile::CompoundFile(const Bytes& file) : file_(file) {
    if (!hasCompoundSignature(file)) {
        throw FormatError("the file is not an Excel 97-2003 workbook");
    }
    if (file.size() < headerSize) {
        damaged("it ends inside its header");
    }
    const std::uint8_t* h = file.data();
    const std::uint16_t shift = get16(h + 30);
    if (get16(h + 28) != 0xFFFE || (shift != 9 && shift != 12)) {
        damaged("unknown container header");
    }
    sectorSize_ = 1u << shift;
    miniCutoff_ = get32(h + 56);
    // Sector n starts right after the header sector, whatever the sector size.
    const std::uint64_t sectorCount = file.size() <= sectorSize_ ? 0
                                                                 : (file.size() - sectorSize_) / sectorSize_ +
                                                                       ((file.size() - sectorSize_) % sectorSize_ != 0);
    auto sectorData = [&](std::uint32_t sector) -> const std::uint8_t* {
        if (sector >= sectorCount) {
            damaged("it is truncated");
        }
        return file.data() + (static_cast<std::uint64_t>(sector) + 1) * sectorSize_;
    };
    auto sectorBytes = [&](std::uint32_t sector) -> std::size_t {
        const std::uint64_t begin = (static_cast<std::uint64_t>(sector) + 1) * sectorSize_;
        return static_cast<std::size_t>(std::min<std::uint64_t>(sectorSize_, file.size() - begin));
    };

    // Allocation table sectors: 109 listed in the header, the rest in a chain of DIFAT sectors.
    const std::uint32_t fatCount = get32(h + 44);
    if (fatCount > sectorCount + 1) {
        damaged("allocation table larger than the file");
    }
    std::vector<std::uint32_t> fatSectors;
    for (std::size_t i = 0; i < headerDifatEntries && fatSectors.size() < fatCount; ++i) {
        fatSectors.push_back(get32(h + 76 + 4 * i));
    }
    std::uint32_t difat = get32(h + 68);
    std::uint64_t difatSeen = 0;
    const std::size_t perDifat = sectorSize_ / 4 - 1;
    while (fatSectors.size() < fatCount) {
        if (difat > maxRegularSector || ++difatSeen > sectorCount) {
            damaged("broken allocation table list");
        }
        const std::uint8_t* d = sectorData(difat);
        if (sectorBytes(difat) < sectorSize_) {
            damaged("it is truncated");
        }
        for (std::size_t i = 0; i < perDifat && fatSectors.size() < fatCount; ++i) {
            fatSectors.push_back(get32(d + 4 * i));
        }
        difat = get32(d + 4 * perDifat);
    }
    fat_.reserve(fatSectors.size() * (sectorSize_ / 4));
    for (std::uint32_t s : fatSectors) {
        const std::uint8_t* d = sectorData(s);
        const std::size_t n = sectorBytes(s) / 4;
        for (std::size_t i = 0; i < sectorSize_ / 4; ++i) {
            fat_.push_back(i < n ? get32(d + 4 * i) : freeSector);
        }
    }

    const Bytes directory = chain(get32(h + 48), UINT64_MAX);
    for (std::size_t off = 0; off + dirEntrySize <= directory.size(); off += dirEntrySize) {
        const std::uint8_t* e = directory.data() + off;
        Entry entry;
        const std::size_t nameBytes = std::min<std::size_t>(get16(e + 64), 64);
        for (std::size_t i = 0; i + 1 < nameBytes; i += 2) {
            const char16_t c = static_cast<char16_t>(get16(e + i));
            if (c == 0) {
                break;
            }
            entry.name += c;
        }
        entry.type = e[66];
        entry.start = get32(e + 116);
        entry.size = get32(e + 120);
        if (sectorSize_ == 4096) {
            entry.size |= static_cast<std::uint64_t>(get32(e + 124)) << 32;
        }
        entries_.push_back(std::move(entry));
    }
    if (entries_.empty() || entries_[0].type != 5) {
        damaged("no root directory entry");
    }

    const std::uint32_t miniFatStart = get32(h + 60);
    if (miniFatStart <= maxRegularSector) {
        const Bytes raw = chain(miniFatStart, UINT64_MAX);
        for (std::size_t i = 0; i + 4 <= raw.size(); i += 4) {
            miniFat_.push_back(get32(raw.data() + i));
        }
        if (entries_[0].start <= maxRegularSector) {
            miniStream_ = chain(entries_[0].start, entries_[0].size);
        }
    }
}

Bytes CompoundFile::chain(std::uint32_t start, std::uint64_t size) const {
    Bytes out;
    std::uint32_t sector = start;
    std::size_t steps = 0;
    while (sector != endOfChain && out.size() < size) {
        if (sector > maxRegularSector || sector >= fat_.size() || ++steps > fat_.size()) {
            damaged("broken sector chain");
        }
        const std::uint64_t begin = (static_cast<std::uint64_t>(sector) + 1) * sectorSize_;
        if (begin >= file_.size()) {
            damaged("it is truncated");
        }
        const std::uint64_t available = std::min<std::uint64_t>(sectorSize_, file_.size() - begin);
        out.insert(out.end(), file_.begin() + static_cast<std::ptrdiff_t>(begin),
                   file_.begin() + static_cast<std::ptrdiff_t>(begin + available));
        sector = fat_[sector];
    }
    if (size != UINT64_MAX) {
        if (out.size() < size) {
            damaged("stream shorter than recorded");
        }
        out.resize(static_cast<std::size_t>(size));
    }
    return out;
}

Bytes CompoundFile::miniChain(std::uint32_t start, std::uint64_t size) const {
    constexpr std::size_t miniSectorSize = 64;
    Bytes out;
    std::uint32_t sector = start;
    std::size_t steps = 0;
    while (sector != endOfChain && out.size() < size) {
        if (sector >= miniFat_.size() || ++steps > miniFat_.size()) {
            damaged("broken mini sector chain");
        }
        const std::uint64_t begin = static_cast<std::uint64_t>(sector) * miniSectorSize;
        if (begin + miniSectorSize > miniStream_.size()) {
            damaged("mini stream truncated");
        }
        out.insert(out.end(), miniStream_.begin() + static_cast<std::ptrdiff_t>(begin),
                   miniStream_.begin() + static_cast<std::ptrdiff_t>(begin + miniSectorSize));
        sector = miniFat_[sector];
    }
    if (out.size() < size) {
        damaged("stream shorter than recorded");
    }
    out.resize(static_cast<std::size_t>(size));
    return out;
}

const CompoundFile::Entry* CompoundFile::find(const std::string& name) const {
    const std::u16string wanted = utf8ToUtf16(name);
    for (const Entry& e : entries_) {
        if (e.type == 2 && e.name.size() == wanted.size() &&
            std::equal(e.name.begin(), e.name.end(), wanted.begin(),
                       [](char16_t a, char16_t b) { return lowerAscii(a) == lowerAscii(b); })) {
            return &e;
        }
    }
    return nullptr;
}

bool CompoundFile::hasStream(const std::string& name) const { return find(name) != nullptr; }

std::optional<Bytes> CompoundFile::readStream(const std::string& name) const {
    const Entry* e = find(name);
    if (e == nullptr) {
        return std::nullopt;
    }
    // A file can claim any size; none larger than the file itself can be genuine.
    if (e->size > file_.size()) {
        damaged("stream larger than the file");
    }
    if (e->size < miniCutoff_) {
        return miniChain(e->start, e->size);
    }
    return chain(e->start, e->size);
}

Bytes writeSingleStreamCompoundFile(const std::string& streamName, const Bytes& stream) {
    constexpr std::uint32_t sectorSize = 512;
    constexpr std::uint32_t perFat = sectorSize / 4;
    constexpr std::uint32_t perDifat = perFat - 1;
    if (stream.size() < 4096) {
        throw FormatError("internal: stream too short for regular sectors");
    }
    if (stream.size() > 0x7FFFFFFFu) {
        throw FormatError("the workbook is too large");
    }
    const auto streamSectors = static_cast<std::uint32_t>((stream.size() + sectorSize - 1) / sectorSize);
    // The allocation table must also cover its own sectors and those of the DIFAT, so grow it until it fits.
    std::uint32_t fatCount = 1;
    std::uint32_t difatCount = 0;
    for (;;) {
        difatCount = fatCount > headerDifatEntries
                         ? (fatCount - static_cast<std::uint32_t>(headerDifatEntries) + perDifat - 1) / perDifat
                         : 0;
        const std::uint32_t total = streamSectors + fatCount + difatCount + 1;
        if (total <= fatCount * perFat) {
            break;
        }
        ++fatCount;
    }
    const std::uint32_t firstFat = streamSectors;
    const std::uint32_t firstDifat = firstFat + fatCount;
    const std::uint32_t dirSector = firstDifat + difatCount;
    const std::uint32_t totalSectors = dirSector + 1;

    Bytes out(headerSize + static_cast<std::size_t>(totalSectors) * sectorSize, 0);
    std::uint8_t* h = out.data();
    std::memcpy(h, signature, sizeof signature);
    put16(h + 24, 0x003E);
    put16(h + 26, 3);
    put16(h + 28, 0xFFFE);
    put16(h + 30, 9);
    put16(h + 32, 6);
    put32(h + 44, fatCount);
    put32(h + 48, dirSector);
    put32(h + 56, 4096);
    put32(h + 60, endOfChain);
    put32(h + 68, difatCount > 0 ? firstDifat : endOfChain);
    put32(h + 72, difatCount);
    for (std::size_t i = 0; i < headerDifatEntries; ++i) {
        put32(h + 76 + 4 * i, i < fatCount ? firstFat + static_cast<std::uint32_t>(i) : freeSector);
    }
    auto sector = [&](std::uint32_t n) { return out.data() + headerSize + static_cast<std::size_t>(n) * sectorSize; };

    std::memcpy(sector(0), stream.data(), stream.size());

    std::vector<std::uint32_t> fat(static_cast<std::size_t>(fatCount) * perFat, freeSector);
    for (std::uint32_t s = 0; s < streamSectors; ++s) {
        fat[s] = s + 1 < streamSectors ? s + 1 : endOfChain;
    }
    for (std::uint32_t s = 0; s < fatCount; ++s) {
        fat[firstFat + s] = fatSector;
    }
    for (std::uint32_t s = 0; s < difatCount; ++s) {
        fat[firstDifat + s] = difatSector;
    }
    fat[dirSector] = endOfChain;
    for (std::size_t i = 0; i < fat.size(); ++i) {
        put32(sector(firstFat) + 4 * i, fat[i]);
    }
    for (std::uint32_t d = 0; d < difatCount; ++d) {
        std::uint8_t* p = sector(firstDifat + d);
        for (std::uint32_t i = 0; i < perDifat; ++i) {
            const std::uint64_t fatIndex = headerDifatEntries + static_cast<std::uint64_t>(d) * perDifat + i;
            put32(p + 4 * i, fatIndex < fatCount ? firstFat + static_cast<std::uint32_t>(fatIndex) : freeSector);
        }
        put32(p + 4 * perDifat, d + 1 < difatCount ? firstDifat + d + 1 : endOfChain);
    }

    auto writeEntry = [&](std::size_t index, const std::u16string& name, std::uint8_t type, std::uint32_t child,
                          std::uint32_t start, std::uint32_t size) {
        std::uint8_t* e = sector(dirSector) + index * dirEntrySize;
        for (std::size_t i = 0; i < name.size() && i < 31; ++i) {
            put16(e + 2 * i, name[i]);
        }
        put16(e + 64, name.empty() ? 0 : static_cast<std::uint32_t>((name.size() + 1) * 2));
        e[66] = type;
        e[67] = 1;  // black: a one-node tree is trivially balanced
        put32(e + 68, noStream);
        put32(e + 72, noStream);
        put32(e + 76, child);
        put32(e + 116, start);
        put32(e + 120, size);
    };
    writeEntry(0, u"Root Entry", 5, 1, endOfChain, 0);
    writeEntry(1, utf8ToUtf16(streamName), 2, noStream, 0, static_cast<std::uint32_t>(stream.size()));
    writeEntry(2, u"", 0, noStream, 0, 0);
    writeEntry(3, u"", 0, noStream, 0, 0);
    return out;
}

}  // namespace tessaline::xls
