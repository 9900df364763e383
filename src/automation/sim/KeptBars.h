#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/sim/Content.h"

// What a user made of a host's command bars, kept between runs as Office keeps its toolbar file: one host
// file per host (data/office/FORMAT.md), holding every bar as the user left it, read at the next start in
// place of the shipped bars.
namespace tessaline::automation::sim {

class SimCommandBars;
struct HostContext;

class KeptBars {
public:
    // The bars as they are now, as the text of a host file that readHostFile reads back. Texts longer than a
    // content file allows are cut to fit, so one odd caption never costs the whole host its bars.
    static std::string snapshot(const SimCommandBars& bars, const std::string& applicationName);
    // Puts the kept bars in place of the bars just built from the shipped content. A built-in bar is matched
    // with the shipped bar of its name (the n-th of a name with the n-th) and still resets to it; a built-in
    // bar that no longer ships is dropped and a shipped bar the file lacks comes at the end.
    static void restore(SimCommandBars& bars, const std::vector<BarSpec>& kept);
    // Puts the shipped bars back; the bars and controls handed out before are gone, as deleted ones are.
    static void resetToShipped(SimCommandBars& bars);
    // Writes `text` beside `path` and renames it into place, so a failed write never leaves half a file.
    // Raises std::runtime_error saying why.
    static void writeAtomically(const std::filesystem::path& path, const std::string& text);

private:
    class Writer;
    class Builder;
};

// Keeps the bars of every host of one in-memory Office in a folder, one file per host named like its content
// file. Problems never stop a host: they are collected for the program to show.
class BarKeeper {
public:
    explicit BarKeeper(std::filesystem::path folder) : folder_(std::move(folder)) {}

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path fileOf(const std::string& contentFile) const { return folder_ / contentFile; }

    // After `hostKey` was built from `content`: its kept bars, if any, take the place of the shipped ones. A
    // file that cannot be read is renamed to *.damaged and reported; the host keeps its shipped bars.
    void restore(const std::string& hostKey, const std::string& contentFile, const HostContent& content,
                 SimCommandBars& bars);
    // Writes the host's bars when they changed since they were read or last written; bars as shipped remove
    // the file, so that a user who changed nothing gets the next version's content.
    void keep(const std::string& hostKey, const std::string& contentFile, const HostContent& content,
              const SimCommandBars& bars);
    // The host's bars back to the shipped ones and its file removed.
    void reset(const std::string& hostKey, const std::string& contentFile, SimCommandBars& bars);

    // What went wrong since the last call, one sentence each.
    std::vector<std::string> takeProblems();

private:
    const std::string& shippedSnapshot(const std::string& hostKey, const HostContent& content);
    void seen(const std::string& hostKey, const SimCommandBars& bars);

    struct Seen {
        std::weak_ptr<const HostContext> context;  // the host's run the count belongs to
        std::uint64_t changes = 0;
    };

    std::filesystem::path folder_;
    std::map<std::string, std::string> written_;  // by host: the bars the file stands for (absent: unknown)
    std::map<std::string, std::string> shipped_;  // by host: the shipped bars, as a snapshot
    std::map<std::string, Seen> seen_;            // by host: its change count when last looked at
    std::vector<std::string> problems_;
};

}  // namespace tessaline::automation::sim
