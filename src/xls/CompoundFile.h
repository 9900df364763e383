#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// The OLE2 compound file container that holds the workbook stream of an .xls file.
namespace tessaline::xls {

using Bytes = std::vector<std::uint8_t>;

// Raised for a container that cannot be read; the message says what is wrong, without the file name,
// which the caller adds.
class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

bool hasCompoundSignature(const Bytes& file);

class CompoundFile {
public:
    // Checks the header and reads the allocation tables and the directory.
    explicit CompoundFile(const Bytes& file);

    bool hasStream(const std::string& name) const;
    // The whole content of the named stream (matched ignoring ASCII case); nullopt when absent.
    std::optional<Bytes> readStream(const std::string& name) const;

private:
    struct Entry {
        std::u16string name;
        std::uint8_t type = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    Bytes chain(std::uint32_t start, std::uint64_t size) const;
    Bytes miniChain(std::uint32_t start, std::uint64_t size) const;
    const Entry* find(const std::string& name) const;

    const Bytes& file_;
    std::uint32_t sectorSize_ = 512;
    std::uint32_t miniCutoff_ = 4096;
    std::vector<std::uint32_t> fat_;
    std::vector<std::uint32_t> miniFat_;
    std::vector<Entry> entries_;
    Bytes miniStream_;
};

// A compound file holding one stream. The stream is placed in regular sectors, so it must be at least
// 4096 bytes long (the caller pads it); shorter streams would have to live in the mini stream.
Bytes writeSingleStreamCompoundFile(const std::string& streamName, const Bytes& stream);

}  // namespace tessaline::xls
