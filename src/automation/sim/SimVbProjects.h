#pragma once

#include <memory>
#include <string>
#include <vector>

#include "automation/Vbe.h"
#include "automation/sim/CallGate.h"

namespace tessaline::automation::sim {

class SimCodeModule final : public CodeModule {
public:
    SimCodeModule(std::vector<std::string> lines, GatePtr gate) : lines_(std::move(lines)), gate_(std::move(gate)) {}

    int CountOfLines() override;
    std::string Lines(int startLine, int count) override;
    void AddFromString(const std::string& text) override;

private:
    std::vector<std::string> lines_;
    GatePtr gate_;
};

class SimVbComponent final : public VBComponent {
public:
    SimVbComponent(int type, std::string name, std::vector<std::string> lines, GatePtr gate = nullptr);

    int Type() override {
        pass(gate_, "VBComponent", "Type");
        return type_;
    }
    std::string Name() override {
        pass(gate_, "VBComponent", "Name");
        return name_;
    }
    std::shared_ptr<automation::CodeModule> CodeModule() override {
        pass(gate_, "VBComponent", "CodeModule");
        return module_;
    }
    const std::string& name() const { return name_; }

private:
    GatePtr gate_;
    int type_;
    std::string name_;
    std::shared_ptr<SimCodeModule> module_;
};

class SimVbComponents final : public VBComponents {
public:
    SimVbComponents(std::vector<std::shared_ptr<SimVbComponent>> components, GatePtr gate)
        : components_(std::move(components)), gate_(std::move(gate)) {}

    int Count() override {
        pass(gate_, "VBComponents", "Count");
        return static_cast<int>(components_.size());
    }
    std::shared_ptr<VBComponent> Item(const Variant& indexOrName) override;
    std::vector<std::shared_ptr<VBComponent>> Enumerate() override;

private:
    std::vector<std::shared_ptr<SimVbComponent>> components_;
    GatePtr gate_;
};

class SimVbProject final : public VBProject {
public:
    SimVbProject(std::string name, std::string fileName, int protection, std::shared_ptr<SimVbComponents> components,
                 GatePtr gate = nullptr);

    std::string Name() override {
        pass(gate_, "VBProject", "Name");
        return name_;
    }
    int Protection() override {
        pass(gate_, "VBProject", "Protection");
        return protection_;
    }
    std::string FileName() override {
        pass(gate_, "VBProject", "FileName");
        return fileName_;
    }
    std::shared_ptr<automation::VBComponents> VBComponents() override;
    const std::string& name() const { return name_; }

private:
    GatePtr gate_;
    std::string name_;
    std::string fileName_;
    int protection_;
    std::shared_ptr<SimVbComponents> components_;
};

class SimVbProjects final : public VBProjects {
public:
    SimVbProjects(std::vector<std::shared_ptr<SimVbProject>> projects, GatePtr gate)
        : projects_(std::move(projects)), gate_(std::move(gate)) {}

    int Count() override {
        pass(gate_, "VBProjects", "Count");
        return static_cast<int>(projects_.size());
    }
    std::shared_ptr<VBProject> Item(const Variant& indexOrName) override;
    std::vector<std::shared_ptr<VBProject>> Enumerate() override;

private:
    std::vector<std::shared_ptr<SimVbProject>> projects_;
    GatePtr gate_;
};

}  // namespace tessaline::automation::sim
