#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/Vbe.h"

namespace tessaline::automation::sim {

class SimCodeModule final : public CodeModule {
public:
    explicit SimCodeModule(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    int CountOfLines() override;
    std::string Lines(int startLine, int count) override;
    void AddFromString(const std::string& text) override;

private:
    std::vector<std::string> lines_;
};

class SimVbComponent final : public VBComponent {
public:
    SimVbComponent(int type, std::string name, std::vector<std::string> lines);

    int Type() override { return type_; }
    std::string Name() override { return name_; }
    std::shared_ptr<automation::CodeModule> CodeModule() override { return module_; }

private:
    int type_;
    std::string name_;
    std::shared_ptr<SimCodeModule> module_;
};

class SimVbComponents final : public VBComponents {
public:
    explicit SimVbComponents(std::vector<std::shared_ptr<SimVbComponent>> components)
        : components_(std::move(components)) {}

    int Count() override { return static_cast<int>(components_.size()); }
    std::shared_ptr<VBComponent> Item(const Variant& indexOrName) override;
    std::vector<std::shared_ptr<VBComponent>> Enumerate() override;

private:
    std::vector<std::shared_ptr<SimVbComponent>> components_;
};

class SimVbProject final : public VBProject {
public:
    SimVbProject(std::string name, std::string fileName, int protection, std::shared_ptr<SimVbComponents> components);

    std::string Name() override { return name_; }
    int Protection() override { return protection_; }
    std::string FileName() override { return fileName_; }
    std::shared_ptr<automation::VBComponents> VBComponents() override;

private:
    std::string name_;
    std::string fileName_;
    int protection_;
    std::shared_ptr<SimVbComponents> components_;
};

class SimVbProjects final : public VBProjects {
public:
    explicit SimVbProjects(std::vector<std::shared_ptr<SimVbProject>> projects) : projects_(std::move(projects)) {}

    int Count() override { return static_cast<int>(projects_.size()); }
    std::shared_ptr<VBProject> Item(const Variant& indexOrName) override;
    std::vector<std::shared_ptr<VBProject>> Enumerate() override;

private:
    std::vector<std::shared_ptr<SimVbProject>> projects_;
};

}  // namespace tessaline::automation::sim
