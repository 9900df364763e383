#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/Office.h"
#include "automation/com/Dispatch.h"

// The command bars of a host reached over IDispatch: thin wrappers that forward every member by name.
namespace tessaline::automation::com {

// What holds a bar, when the way it was reached tells: a top-level bar belongs to the host, the bar of a
// popup to the popup control. Unknown (a control's Parent) is settled by asking the holder itself.
enum class BarHolder { Unknown, Host, Popup };

CommandBarsPtr wrapCommandBars(ComPtr<IDispatch> object, const ContextPtr& context);
CommandBarPtr wrapCommandBar(ComPtr<IDispatch> object, const ContextPtr& context, BarHolder holder);
ControlPtr wrapControl(ComPtr<IDispatch> object, const ContextPtr& context, BarHolder parentHolder);
// The host object a top-level bar belongs to, as the class of the context's host (ComHosts.cpp).
ObjectPtr wrapHost(ComPtr<IDispatch> object, const ContextPtr& context);
// The IDispatch behind a bar of this backend; null for Nothing, "Invalid procedure call" for another kind.
IDispatch* dispatchOf(const CommandBarPtr& bar);

class ComCommandBars final : public CommandBars {
public:
    ComCommandBars(ComPtr<IDispatch> object, const ContextPtr& context);

    int Count() override;
    CommandBarPtr Item(const Variant& indexOrName) override;
    std::vector<CommandBarPtr> Enumerate() override;
    CommandBarPtr Add(const Optional& name, const Optional& position, const Optional& menuBar,
                      const Optional& temporary) override;
    ControlPtr FindControl(const Optional& type, const Optional& id, const Optional& tag,
                           const Optional& visible) override;

private:
    Dispatch d_;
};

class ComCommandBar final : public CommandBar {
public:
    ComCommandBar(ComPtr<IDispatch> object, const ContextPtr& context, BarHolder holder);
    IDispatch* dispatch() const { return d_.get(); }

    int Index() override;
    std::string Name() override;
    void SetName(const std::string& name) override;
    std::string NameLocal() override;
    void SetNameLocal(const std::string& name) override;
    bool BuiltIn() override;
    int Type() override;
    bool Enabled() override;
    void SetEnabled(bool enabled) override;
    bool Visible() override;
    void SetVisible(bool visible) override;
    int Position() override;
    void SetPosition(const Variant& position) override;
    int Width() override;
    void SetWidth(const Variant& width) override;
    int Height() override;
    ControlsPtr Controls() override;
    ObjectPtr Parent() override;
    void Delete() override;
    void Reset() override;
    ControlPtr FindControl(const Optional& type, const Optional& id, const Optional& tag, const Optional& visible,
                           const Optional& recursive) override;

private:
    Dispatch d_;
    BarHolder holder_;
};

class ComControls final : public CommandBarControls {
public:
    ComControls(ComPtr<IDispatch> object, const ContextPtr& context, BarHolder barHolder);

    int Count() override;
    ControlPtr Item(const Variant& indexOrCaption) override;
    std::vector<ControlPtr> Enumerate() override;
    ControlPtr Add(const Optional& type, const Optional& id, const Optional& parameter, const Optional& before,
                   const Optional& temporary) override;

private:
    Dispatch d_;
    BarHolder barHolder_;
};

// Every kind of control in one class; the typed views answer by the control's Type, as Office's
// interfaces do.
class ComControl final : public CommandBarButton,
                         public CommandBarPopup,
                         public CommandBarComboBox,
                         public std::enable_shared_from_this<ComControl> {
public:
    ComControl(ComPtr<IDispatch> object, const ContextPtr& context, BarHolder parentHolder);

    std::string TypeName() const override;

    int Index() override;
    int Id() override;
    std::string Caption() override;
    void SetCaption(const std::string& caption) override;
    bool BuiltIn() override;
    bool BeginGroup() override;
    void SetBeginGroup(bool beginGroup) override;
    int Type() override;
    bool Enabled() override;
    void SetEnabled(bool enabled) override;
    bool Visible() override;
    void SetVisible(bool visible) override;
    std::string OnAction() override;
    void SetOnAction(const std::string& macro) override;
    std::string TooltipText() override;
    void SetTooltipText(const std::string& text) override;
    std::string Tag() override;
    void SetTag(const std::string& tag) override;
    int Width() override;
    void SetWidth(const Variant& width) override;
    CommandBarPtr Parent() override;
    ControlPtr Copy(const CommandBarPtr& bar, const Optional& before) override;
    void Move(const CommandBarPtr& bar, const Optional& before) override;
    void Delete(const Optional& temporary) override;
    void Execute() override;
    Variant GetProperty(std::string_view member) override;
    void SetProperty(std::string_view member, const Variant& value) override;
    ButtonPtr AsButton() override;
    PopupPtr AsPopup() override;
    ComboBoxPtr AsComboBox() override;

    // CommandBarButton
    int FaceId() override;
    void SetFaceId(const Variant& faceId) override;
    int Style() override;
    void SetStyle(const Variant& style) override;
    std::string ShortcutText() override;
    void SetShortcutText(const std::string& text) override;
    int ConnectClick(ClickSink sink) override;
    void DisconnectClick(int cookie) override;

    // CommandBarPopup
    ControlsPtr Controls() override;
    CommandBarPtr CommandBar() override;

    // CommandBarComboBox
    void AddItem(const std::string& text, const Optional& index) override;
    void RemoveItem(const Variant& index) override;
    void Clear() override;
    int ListCount() override;
    std::string List(int index) override;
    std::string Text() override;
    void SetText(const std::string& text) override;

private:
    // The control's Type, asked once: it never changes.
    int kind() const;

    Dispatch d_;
    BarHolder parentHolder_;
    mutable std::optional<int> type_;
    mutable bool askingType_ = false;
};

}  // namespace tessaline::automation::com
