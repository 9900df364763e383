#pragma once

// Header only: every .cpp in this folder becomes its own benchmark program.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <system_error>

namespace tessaline::bench {

// A content folder for the in-memory Office holding Excel only, grown from the shipped Excel: its bars
// `barFactor` times over (the copies named "<name> #2", "<name> #3", ... so that every name still finds its
// own bar), and the bar `grownBar` carrying its controls `controlFactor` times over. With `otherHosts` the
// shipped files of the other hosts come along unchanged, as a whole Office. Written to a fresh folder under
// the system's temp directory and removed again with this object.
class GeneratedContent {
public:
    GeneratedContent(const std::string& shippedFolder, int barFactor, const std::string& grownBar, int controlFactor,
                     bool otherHosts = false) {
        if (barFactor < 1 || controlFactor < 1) throw std::invalid_argument("factors must be at least 1");
        std::ifstream in(std::filesystem::path(shippedFolder) / "excel.json", std::ios::binary);
        if (!in) throw std::runtime_error("cannot read " + shippedFolder + "/excel.json");
        nlohmann::json excel = nlohmann::json::parse(in);

        const nlohmann::json shippedBars = excel.at("commandBars");
        nlohmann::json bars = nlohmann::json::array();
        bool grown = false;
        for (int copy = 1; copy <= barFactor; ++copy) {
            for (nlohmann::json bar : shippedBars) {
                const std::string name = bar.at("name").get<std::string>();
                if (copy == 1 && name == grownBar) {
                    const nlohmann::json once = bar.value("controls", nlohmann::json::array());
                    nlohmann::json controls = nlohmann::json::array();
                    for (int i = 0; i < controlFactor; ++i) {
                        for (const auto& control : once) controls.push_back(control);
                    }
                    bar["controls"] = std::move(controls);
                    grown = true;
                }
                if (copy > 1) {
                    const std::string suffix = " #" + std::to_string(copy);
                    bar["nameLocal"] = bar.value("nameLocal", name) + suffix;
                    bar["name"] = name + suffix;
                }
                bars.push_back(std::move(bar));
            }
        }
        if (!grown) throw std::runtime_error("the shipped Excel has no bar named " + grownBar);
        excel["commandBars"] = std::move(bars);

        folder_ = freshFolder();
        std::ofstream out(folder_ / "excel.json", std::ios::binary);
        out << excel.dump();
        if (!out) throw std::runtime_error("cannot write " + (folder_ / "excel.json").string());
        if (!otherHosts) return;
        for (const auto& entry : std::filesystem::directory_iterator(shippedFolder)) {
            const auto name = entry.path().filename();
            if (entry.path().extension() == ".json" && name != "excel.json") {
                std::filesystem::copy_file(entry.path(), folder_ / name);
            }
        }
    }

    ~GeneratedContent() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    GeneratedContent(const GeneratedContent&) = delete;
    GeneratedContent& operator=(const GeneratedContent&) = delete;

    std::string folder() const { return folder_.string(); }

private:
    static std::filesystem::path freshFolder() {
        static std::atomic<int> serial{0};
        const auto folder = std::filesystem::temp_directory_path() /
                            ("tessaline-bench-content-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        return folder;
    }

    std::filesystem::path folder_;
};

}  // namespace tessaline::bench
