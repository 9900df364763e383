"""The command bars of Outlook's explorer window (Simplified-Chinese edition, 2003 era).

Outlook of that era exposes only the explorer's menu bar and toolbars as command bars; its shortcut menus are
not part of the collection, so there are none here.
"""

from officegen import B, CB, GROUP as G, P, bar, toolbar


def new_items():
    return [
        B(1757, "邮件(&M)", "Ctrl+N"),
        B(1755, "文件夹(&E)...", "Ctrl+Shift+E"),
        B(2687, "在此文件夹中投递(&O)", "Ctrl+Shift+S", on=False),
        B(5627, "导航窗格快捷方式(&V)..."),
        G,
        B(1992, "约会(&A)", "Ctrl+Shift+A"),
        B(1754, "会议要求(&E)", "Ctrl+Shift+Q"),
        B(1993, "联系人(&C)", "Ctrl+Shift+C"),
        B(5435, "通讯组列表(&L)", "Ctrl+Shift+L"),
        B(1997, "任务(&T)", "Ctrl+Shift+K"),
        B(1761, "任务要求(&U)", "Ctrl+Shift+U"),
        B(1989, "日记条目(&J)", "Ctrl+Shift+J"),
        B(1996, "便笺(&N)", "Ctrl+Shift+N"),
        G,
        B(9409, "Internet 传真(&X)", "Ctrl+Shift+X"),
        B(1910, "选择窗体(&F)..."),
        G,
        B(5575, "Outlook 数据文件(&D)..."),
    ]


def file_menu():
    return P(30002, "文件(&F)", [
        P(30037, "新建(&W)", new_items()),
        P(30038, "打开(&O)", [
            B(5476, "所选项目(&O)", "Ctrl+O", on=False),
            B(1863, "其他用户的文件夹(&U)..."),
            B(5576, "Outlook 数据文件(&D)..."),
        ]),
        B(722, "关闭所有项目(&L)", on=False),
        G,
        B(748, "另存为(&A)...", on=False),
        B(3167, "保存附件(&N)...", on=False),
        G,
        P(30039, "文件夹(&D)", [
            B(1755, "新建文件夹(&N)...", "Ctrl+Shift+E"),
            B(2506, "移动“收件箱”(&M)..."),
            B(2499, "复制“收件箱”(&Y)..."),
            B(2500, "删除“收件箱”(&D)", on=False),
            B(2512, "重命名“收件箱”(&R)", on=False),
            G,
            B(1906, "全部标记为已读(&A)"),
            B(1671, "清空“已删除邮件”文件夹(&E)"),
            G,
            B(2502, "属性“收件箱”(&I)"),
        ]),
        B(7091, "数据文件管理(&F)..."),
        B(2577, "导入和导出(&T)..."),
        B(1886, "存档(&E)..."),
        G,
        P(30055, "页面设置(&U)", [
            B(5801, "表格样式(&T)"),
            B(5802, "备忘录样式(&M)"),
            G,
            B(1894, "定义打印样式(&D)..."),
        ]),
        B(109, "打印预览(&V)"),
        B(4, "打印(&P)...", "Ctrl+P"),
        G,
        B(5613, "脱机工作(&W)"),
        G,
        B(752, "退出(&X)"),
    ])


def edit_menu():
    return P(30003, "编辑(&E)", [
        B(128, "撤消(&U)", "Ctrl+Z", on=False),
        G,
        B(21, "剪切(&T)", "Ctrl+X", on=False),
        B(19, "复制(&C)", "Ctrl+C", on=False),
        B(22, "粘贴(&P)", "Ctrl+V", on=False),
        B(809, "Office 剪贴板(&B)..."),
        G,
        B(478, "删除(&D)", "Ctrl+D", on=False),
        B(1679, "移至文件夹(&V)...", "Ctrl+Shift+V", on=False),
        B(1676, "复制到文件夹(&F)...", on=False),
        G,
        B(756, "全选(&L)", "Ctrl+A"),
        G,
        B(1674, "标记为已读(&R)", "Ctrl+Q", on=False),
        B(1675, "标记为未读(&N)", on=False),
        B(1906, "全部标记为已读(&K)"),
        G,
        B(5813, "类别(&E)...", on=False),
    ])


def view_menu():
    return P(30004, "视图(&V)", [
        P(30056, "排列方式(&A)", [
            B(7623, "日期(&D)"),
            B(7621, "会话(&V)"),
            B(7626, "发件人(&F)"),
            B(7631, "收件人(&T)"),
            B(7625, "文件夹(&O)"),
            B(7629, "大小(&S)"),
            B(7630, "主题(&J)"),
            B(7632, "类型(&Y)"),
            B(7619, "附件(&A)"),
            B(9284, "电子邮件帐户(&E)"),
            B(7628, "重要性(&I)"),
            B(7620, "类别(&C)"),
            G,
            B(1750, "在组中显示(&H)"),
            B(1898, "自定义(&U)..."),
            G,
            # Four levels: 视图 > 排列方式 > 当前视图 > the views.
            P(30057, "当前视图(&V)", [
                B(5824, "邮件(&M)"),
                B(5825, "带自动预览的邮件(&A)"),
                B(5826, "最近七天的邮件(&S)"),
                B(5827, "未读邮件(&U)"),
                B(5828, "已发送给(&T)"),
                G,
                B(1862, "定义视图(&D)..."),
                B(1861, "自定义当前视图(&C)..."),
            ]),
        ]),
        G,
        B(5829, "导航窗格(&N)", "Alt+F1"),
        P(30058, "阅读窗格(&P)", [
            B(7221, "右侧(&R)"),
            B(7222, "底部(&B)"),
            B(7223, "关(&O)"),
        ]),
        B(5516, "自动预览(&V)"),
        G,
        P(30059, "展开/折叠组(&E)", [
            B(1870, "折叠此组(&C)", on=False),
            B(1884, "展开此组(&E)", on=False),
            B(1917, "全部折叠(&O)"),
            B(1916, "全部展开(&X)"),
        ]),
        G,
        P(30045, "工具栏(&T)", [B(797, "自定义(&C)...")]),
        B(5830, "状态栏(&B)"),
        G,
        B(9729, "刷新(&R)", "F5"),
    ])


def go_menu():
    return P(30060, "转到(&G)", [
        B(7261, "邮件(&M)", "Ctrl+1"),
        B(7262, "日历(&C)", "Ctrl+2"),
        B(7263, "联系人(&N)", "Ctrl+3"),
        B(7264, "任务(&K)", "Ctrl+4"),
        B(7265, "便笺(&O)", "Ctrl+5"),
        B(7267, "文件夹列表(&F)", "Ctrl+6"),
        B(9650, "快捷方式(&S)", "Ctrl+7"),
        B(7270, "日记(&J)", "Ctrl+8"),
        G,
        B(1868, "文件夹(&F)...", "Ctrl+Y"),
    ])


def tools_menu():
    return P(30007, "工具(&T)", [
        P(30061, "发送和接收(&E)", [
            B(7095, "全部发送/接收(&A)", "F9"),
            B(5577, "全部发送(&S)"),
            G,
            # Four levels: 工具 > 发送和接收 > 发送/接收设置 > the settings.
            P(30062, "发送/接收设置(&E)", [
                B(6901, "定义发送/接收组(&D)...", "Ctrl+Alt+S"),
                B(6867, "禁用计划发送/接收(&B)"),
                B(6902, "显示进度(&P)"),
            ]),
            G,
            B(5658, "下载通讯簿(&B)..."),
        ]),
        P(30063, "查找(&I)", [
            B(5592, "查找(&F)...", "Ctrl+E"),
            B(5505, "高级查找(&A)...", "Ctrl+Shift+F"),
            G,
            B(2684, "相关邮件(&M)", on=False),
            B(2607, "发件人所发邮件(&S)", on=False),
        ]),
        B(353, "通讯簿(&B)...", "Ctrl+Shift+B"),
        G,
        B(5831, "组织(&Z)"),
        B(721, "规则和通知(&L)..."),
        B(7092, "邮箱清理(&X)..."),
        B(1671, "清空“已删除邮件”文件夹(&Y)"),
        B(5654, "恢复已删除邮件(&R)...", on=False),
        P(30064, "表单(&O)", [
            B(1910, "选择窗体(&C)..."),
            B(5617, "设计窗体(&D)..."),
            G,
            B(5832, "设计此窗体(&T)", on=False),
            B(5833, "发布窗体(&P)...", on=False),
        ]),
        P(30017, "宏(&M)", [
            B(186, "宏(&M)...", "Alt+F8"),
            B(3627, "安全性(&S)..."),
            G,
            B(1695, "Visual Basic 编辑器(&V)", "Alt+F11"),
        ]),
        G,
        B(6863, "电子邮件帐户(&A)..."),
        B(797, "自定义(&C)..."),
        B(522, "选项(&O)..."),
    ])


def actions_menu():
    return P(30065, "动作(&A)", [
        B(1757, "新邮件(&M)", "Ctrl+N"),
        P(30066, "使用以下信纸的新邮件(&S)", [
            B(5611, "其他信纸(&M)..."),
            G,
            B(5610, "Microsoft Office Word 2003 (HTML)(&W)"),
            B(5421, "Microsoft Office Word 2003 (RTF)(&R)"),
            B(5422, "Microsoft Office Word 2003 (纯文本)(&P)"),
        ]),
        G,
        B(1885, "后续标志(&U)...", "Ctrl+Shift+G", on=False),
        P(30067, "垃圾邮件(&J)", [
            B(9786, "将发件人添加到“阻止发件人名单”(&B)", on=False),
            B(9787, "将发件人添加到“安全发件人名单”(&S)", on=False),
            B(9788, "将收件人添加到“安全收件人名单”(&R)", on=False),
            B(9789, "标记为非垃圾邮件(&N)", on=False),
            G,
            B(9790, "垃圾邮件选项(&O)..."),
        ]),
        G,
        B(354, "答复(&R)", "Ctrl+R", on=False),
        B(355, "全部答复(&L)", "Ctrl+Shift+R", on=False),
        B(356, "转发(&W)", "Ctrl+F", on=False),
    ])


def help_menu():
    return P(30010, "帮助(&H)", [
        B(984, "Microsoft Office Outlook 帮助(&H)", "F1"),
        B(1011, "显示 Office 助手(&O)"),
        G,
        B(7904, "Microsoft Office Online(&M)"),
        B(7903, "联系我们(&C)"),
        B(9340, "检查更新(&K)"),
        B(3773, "检测并修复(&R)..."),
        B(5933, "激活产品(&V)..."),
        B(7714, "客户反馈选项(&F)..."),
        G,
        B(927, "关于 Microsoft Office Outlook(&A)"),
    ])


def host():
    T = toolbar
    bars = [
        bar("Menu Bar", "菜单栏", [
            file_menu(), edit_menu(), view_menu(), go_menu(), tools_menu(), actions_menu(), help_menu(),
        ], type=1, pos=1, vis=True),
        T("Standard", "常用", [
            P(1757, "新建(&N)", new_items(), t=13),
            B(2521, "打印(&P)", g=True, on=False),
            P(1679, "移至文件夹", [B(1679, "移至文件夹(&F)...")], t=13, on=False),
            B(478, "删除(&D)", on=False),
            B(354, "答复(&R)", style=3, g=True, on=False),
            B(355, "全部答复(&L)", style=3, on=False),
            B(356, "转发(&W)", style=3, on=False),
            P(7095, "发送和接收(&C)", [
                B(7095, "全部发送/接收(&A)", "F9"),
                B(5577, "全部发送(&S)"),
                G,
                B(5658, "下载通讯簿(&B)..."),
            ], g=True, t=13),
            B(5592, "查找(&I)", style=3),
            B(353, "通讯簿", g=True),
            CB(5454, "键入要查找的联系人", [], width=120),
            B(984, "Microsoft Office Outlook 帮助(&H)", g=True),
            P(1885, "后续标志", [B(1885, "后续标志(&U)..."), B(2776, "清除标志(&L)")], g=True, t=13, on=False),
        ], pos=1, vis=True),
        T("Advanced", "高级", [
            B(5599, "Outlook 今日"),
            B(6881, "后退", g=True),
            B(6882, "前进"),
            B(1762, "上一级"),
            B(7221, "阅读窗格", g=True),
            B(109, "打印预览", g=True),
            B(128, "撤消", on=False),
            B(721, "规则和通知", g=True),
            CB(1893, "当前视图", ["邮件", "带自动预览的邮件", "最近七天的邮件", "未读邮件", "已发送给"], text="邮件", t=3,
               g=True, width=130),
            B(1666, "按组排列框", g=True),
            B(1748, "字段选择器"),
            B(5516, "自动预览"),
        ], pos=1),
        T("Web", "Web", [
            B(1017, "后退"), B(1018, "前进"), B(1019, "停止当前跳转"), B(1020, "刷新当前页"), B(1016, "起始页"),
            B(1026, "搜索 Web"),
            CB(1740, "地址", ["outlook:收件箱"], text="outlook:收件箱", g=True, width=250),
        ]),
        T("Send/Receive", "发送/接收", [
            P(7095, "发送/接收(&C)", [B(7095, "全部发送/接收(&A)"), B(5577, "全部发送(&S)")], t=13),
            B(6902, "显示进度", g=True),
            B(9410, "下载完整项目"),
            B(9411, "仅下载邮件头"),
        ], on=False),
    ]
    return {
        "application": {"name": "Outlook", "windowClass": "rctrl_renwnd32", "running": True, "explorer": True},
        "commandBars": bars,
    }
