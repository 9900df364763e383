#include "shell/MainWindow.h"

#include "shell/CommandbarGrid.h"
#include "shell/ControlGrid.h"
#include "shell/Form1.h"

namespace tessaline::shell {

const char* const kCodeTemplateText =
    "Sub AddButton()\r\n"
    "    Dim ct As CommandBarButton\r\n"
    "    Set ct = |\r\n"
    "    With ct\r\n"
    "        .Caption = \"标题\"\r\n"
    "        .OnAction = \"我来了\"    '指定宏名\r\n"
    "        .FaceId = 2950 '图标编号\r\n"
    "        .Style = msoButtonIconAndCaption '按钮样式.\r\n"
    "        .BeginGroup = False '是否显示分组线\r\n"
    "        .Visible = True\r\n"
    "    End With\r\n"
    "    Set ct = Nothing\r\n"
    "End Sub\r\n"
    "Sub 我来了()\r\n"
    "    MsgBox \"你好\"\r\n"
    "End Sub\r\n";

// Resume mode.
void Form_Load(Form1& form) {
    resume(form, [&] { SetCommandbarGridHeaders(form); });
    resume(form, [&] { SetControlGridHeaders(form); });
    // Stay above the host windows the user works in.
    resume(form, [&] { form.ui().SetTopmost(); });
    resume(form, [&] { form.CodeTemplate = form.Code.Text(); });
    resume(form, [&] { form.Code.SetText(""); });
}

// Report mode. The host applications keep running; nothing in them is saved or closed.
void Form_Terminate(Form1& form) {
    report(form, [&] {
        form.CurrentPopup = nullptr;
        form.ExcelApp = nullptr;
        form.CurrentBar = nullptr;
        form.HostApp = nullptr;
    });
}

// Report mode.
void Form_KeyPress(Form1& form, int& keyAscii) {
    if (keyAscii != 27) return;
    report(form, [&] {
        const int answer = form.ui().MsgBox("关闭?", vbmsg::YesNo, "按下了Esc");
        if (answer == vbmsg::ResultYes) {
            form.unload();
        } else {
            form.ui().Minimize();
        }
    });
}

// Report mode.
void Frame1_MouseDown(Form1& form, const MouseEvent& mouse) {
    report(form, [&] {
        if (mouse.button == vbbutton::Right && form.HostApp) form.PopupMenu(form.menu("MenuApp"));
    });
}

// Mode none. The control grid keeps its rows until it is listed again.
void StatusBar1_PanelDblClick(Form1& form, int panel) {
    if (panel != 5) return;
    form.CurrentPopup = nullptr;
    form.StatusBar1.SetPanelText(5, "");
}

// Mode none.
void menuAbout_Click(Form1& form) {
    const std::string crlf = "\r\n";
    const std::string text = std::string("作者：Tessaline 项目组") + crlf + "联系方式：请在项目主页提交问题与建议" +
                             crlf + "用途：查看、编辑、设计与跟踪 Office 命令栏" + crlf +
                             "适用：Excel、Word、PowerPoint、Access、Outlook 与 VBA 编辑器" + crlf + crlf +
                             "产品名称：" + form.App.ProductName + crlf + "更新日期：2017年2月2日";
    form.ui().MsgBox(text, vbmsg::OKOnly | vbmsg::Information, "产品信息 & 联系方式");
}

// Report mode. Whether the file exists is the shell's business, not ours.
void menuHowtouse_Click(Form1& form) {
    report(form, [&] { form.ui().ShellExecute(form.App.Path + "/Tessaline.ppt"); });
}

// Mode none.
void menuExit_Click(Form1& form) { form.unload(); }

}  // namespace tessaline::shell
