#pragma once

#include <memory>
#include <string>

#include "automation/Desktop.h"
#include "automation/Excel.h"
#include "automation/Vbe.h"
#include "automation/com/Dispatch.h"

// The host applications reached over IDispatch.
namespace tessaline::automation::com {

// The automation object of a host as the class the tool expects: ExcelApplication for "Excel",
// OutlookApplication for "Outlook", Vbe for "VBE", a CommandBarHost for the others. Null for Nothing.
ObjectPtr wrapApplication(ComPtr<IDispatch> object, const std::string& hostKey,
                          const std::shared_ptr<ComSession>& session);

// Word, PowerPoint and Access: a name and command bars.
class ComApplication final : public CommandBarHost {
public:
    ComApplication(ComPtr<IDispatch> object, const ContextPtr& context);
    std::string TypeName() const override { return "Application"; }
    CommandBarsPtr CommandBars() override;
    std::string Name() override;

private:
    Dispatch d_;
};

class ComExcel final : public ExcelApplication {
public:
    ComExcel(ComPtr<IDispatch> object, const ContextPtr& context);

    CommandBarsPtr CommandBars() override;
    std::string Name() override;
    WorkbooksPtr Workbooks() override;
    WorkbookPtr ActiveWorkbook() override;
    VbePtr VBE() override;
    bool ScreenUpdating() override;
    void SetScreenUpdating(bool on) override;
    RangePtr Union(const std::vector<RangePtr>& ranges) override;
    RangePtr Intersect(const RangePtr& a, const RangePtr& b) override;

private:
    Dispatch d_;
};

class ComVbeWindow final : public VbeWindow {
public:
    ComVbeWindow(ComPtr<IDispatch> object, const ContextPtr& context);
    int WindowState() override;
    void SetWindowState(int state) override;
    bool Visible() override;
    void SetVisible(bool visible) override;

private:
    Dispatch d_;
};

class ComVbe final : public Vbe {
public:
    ComVbe(ComPtr<IDispatch> object, const ContextPtr& context);
    CommandBarsPtr CommandBars() override;
    std::string Name() override;
    std::shared_ptr<VbeWindow> MainWindow() override;
    std::shared_ptr<automation::VBProjects> VBProjects() override;

private:
    Dispatch d_;
};

class ComExplorer final : public OutlookExplorer {
public:
    ComExplorer(ComPtr<IDispatch> object, const ContextPtr& context);
    CommandBarsPtr CommandBars() override;
    std::string Name() override;

private:
    Dispatch d_;
};

class ComOutlook final : public OutlookApplication {
public:
    ComOutlook(ComPtr<IDispatch> object, const ContextPtr& context);
    std::string Name() override;
    std::shared_ptr<OutlookExplorer> ActiveExplorer() override;

private:
    Dispatch d_;
};

}  // namespace tessaline::automation::com
