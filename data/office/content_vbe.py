"""Excel's VBA editor: its command bars and the open VBA projects (Simplified-Chinese edition, 2003 era).

Unlike the Office applications, the editor localises the Name of its bars as well as NameLocal: in the Chinese
edition its menu bar is found as CommandBars("菜单条"), and code that must run everywhere takes CommandBars(1).
"""

from officegen import B, CB, GROUP as G, P, bar, shortcut, toolbar


def insert_items():
    return [
        B(2549, "过程(&P)..."),
        B(2552, "用户窗体(&U)"),
        B(2550, "模块(&M)"),
        B(2551, "类模块(&C)"),
        G,
        B(2548, "文件(&L)..."),
    ]


def file_menu():
    return P(30002, "文件(&F)", [
        B(3, "保存 报表工具.xls(&S)", "Ctrl+S"),
        G,
        B(3217, "导入文件(&I)...", "Ctrl+M"),
        B(3218, "导出文件(&E)...", "Ctrl+E"),
        B(3219, "移除 Module1(&R)..."),
        G,
        B(4, "打印(&P)...", "Ctrl+P"),
        G,
        B(752, "关闭并返回到 Microsoft Excel(&C)", "Alt+Q"),
    ])


def edit_menu():
    return P(30003, "编辑(&E)", [
        B(128, "撤消(&U)", "Ctrl+Z", on=False),
        B(129, "重复(&R)", on=False),
        G,
        B(21, "剪切(&T)", "Ctrl+X", on=False),
        B(19, "复制(&C)", "Ctrl+C", on=False),
        B(22, "粘贴(&P)", "Ctrl+V"),
        B(478, "清除(&A)", "Del", on=False),
        B(756, "全选(&L)", "Ctrl+A"),
        G,
        B(141, "查找(&F)...", "Ctrl+F"),
        B(570, "查找下一个(&N)", "F3"),
        B(313, "替换(&E)...", "Ctrl+H"),
        G,
        B(3220, "缩进(&I)", "Tab"),
        B(3221, "凸出(&O)", "Shift+Tab"),
        G,
        B(3222, "属性/方法列表(&H)", "Ctrl+J"),
        B(3223, "常数列表(&S)", "Ctrl+Shift+J"),
        B(3224, "快速信息(&Q)", "Ctrl+I"),
        B(3225, "参数信息(&M)", "Ctrl+Shift+I"),
        B(3226, "自动完成关键字(&W)", "Ctrl+Space"),
        G,
        P(30150, "书签(&K)", [
            B(3227, "切换书签(&T)"),
            B(3228, "下一个书签(&N)"),
            B(3229, "上一个书签(&P)"),
            B(3230, "清除所有书签(&C)"),
        ]),
    ])


def view_menu():
    return P(30004, "视图(&V)", [
        B(2558, "代码窗口(&C)", "F7"),
        B(2553, "对象窗口(&B)", "Shift+F7"),
        B(3231, "定义(&D)", "Shift+F2"),
        B(3232, "最后位置(&N)", "Ctrl+Shift+F2"),
        G,
        B(473, "对象浏览器(&O)", "F2"),
        B(2554, "立即窗口(&I)", "Ctrl+G"),
        B(2555, "本地窗口(&S)"),
        B(2556, "监视窗口(&H)"),
        B(2560, "调用堆栈(&K)...", "Ctrl+L", on=False),
        G,
        B(2557, "工程资源管理器(&P)", "Ctrl+R"),
        B(222, "属性窗口(&W)", "F4"),
        B(548, "工具箱(&X)", on=False),
        B(3233, "Tab 键顺序(&A)...", on=False),
        G,
        P(30045, "工具栏(&T)", [B(797, "自定义(&C)...")]),
        G,
        B(106, "Microsoft Excel", "Alt+F11"),
    ])


def format_menu():
    return P(30006, "格式(&O)", [
        P(30151, "对齐(&A)", [
            B(664, "左对齐(&L)"), B(668, "居中(&C)"), B(665, "右对齐(&R)"), G,
            B(666, "顶端对齐(&T)"), B(669, "中间对齐(&M)"), B(667, "底端对齐(&B)"), G,
            B(3234, "对齐到网格(&G)"),
        ], on=False),
        P(30152, "统一尺寸(&M)", [B(3235, "宽度(&W)"), B(3236, "高度(&H)"), B(3237, "两者(&B)")], on=False),
        B(3238, "按网格调整大小(&I)", on=False),
        G,
        P(30153, "水平间距(&H)", [B(3137, "相同(&E)"), B(1650, "递增(&I)"), B(1649, "递减(&D)"),
                                   B(3239, "移除(&R)")], on=False),
        P(30154, "垂直间距(&V)", [B(3138, "相同(&E)"), B(1653, "递增(&I)"), B(1652, "递减(&D)"),
                                   B(3240, "移除(&R)")], on=False),
        G,
        P(30155, "在窗体中居中(&C)", [B(3241, "水平对齐(&H)"), B(3242, "垂直对齐(&V)")], on=False),
        P(30156, "排列按钮(&B)", [B(3243, "底部(&B)"), B(3244, "右边(&R)")], on=False),
        G,
        B(164, "组合(&G)", on=False),
        B(165, "取消组合(&U)", on=False),
        P(30157, "顺序(&O)", [B(166, "置前(&F)"), B(167, "置后(&B)"), B(170, "上移一层(&W)"),
                              B(171, "下移一层(&K)")], on=False),
    ])


def debug_menu():
    return P(30165, "调试(&D)", [
        B(578, "编译 VBAProject(&L)"),
        G,
        B(8, "逐语句(&I)", "F8"),
        B(3245, "逐过程(&O)", "Shift+F8"),
        B(3246, "跳出(&U)", "Ctrl+Shift+F8", on=False),
        B(3247, "运行到光标处(&R)", "Ctrl+F8"),
        G,
        B(2602, "添加监视(&A)..."),
        B(2601, "编辑监视(&E)...", "Ctrl+W", on=False),
        B(2603, "快速监视(&Q)...", "Shift+F9"),
        G,
        B(51, "切换断点(&T)", "F9"),
        B(579, "清除所有断点(&C)", "Ctrl+Shift+F9"),
        G,
        B(3248, "设置下一条语句(&N)", "Ctrl+F9", on=False),
        B(3249, "显示下一条语句(&X)", on=False),
    ])


def run_menu():
    return P(30012, "运行(&R)", [
        B(186, "运行子过程/用户窗体(&R)", "F5"),
        B(189, "中断(&K)", "Ctrl+Break", on=False),
        B(228, "重新设置(&R)", on=False),
        G,
        B(212, "设计模式(&D)"),
    ])


def tools_menu():
    return P(30007, "工具(&T)", [
        B(3250, "引用(&R)..."),
        B(3251, "附加控件(&A)...", on=False),
        B(3186, "宏(&M)..."),
        B(522, "选项(&O)..."),
        B(3252, "VBAProject 属性(&E)..."),
        B(3253, "数字签名(&D)..."),
    ])


def help_menu():
    return P(30010, "帮助(&H)", [
        B(984, "Microsoft Visual Basic 帮助(&H)", "F1"),
        B(7904, "MSDN Online(&M)"),
        G,
        B(927, "关于 Microsoft Visual Basic(&A)..."),
    ])


def code_window_menu():
    return [
        B(21, "剪切(&T)"),
        B(19, "复制(&C)"),
        B(22, "粘贴(&P)"),
        G,
        B(3222, "属性/方法列表(&H)"),
        B(3223, "常数列表(&S)"),
        B(3224, "快速信息(&Q)"),
        B(3225, "参数信息(&M)"),
        B(3226, "自动完成关键字(&W)"),
        G,
        P(30160, "切换(&G)", [
            B(51, "断点(&B)"),
            B(3227, "书签(&K)"),
        ]),
        G,
        B(473, "对象浏览器(&O)"),
        B(2602, "添加监视(&A)..."),
        B(3231, "定义(&D)"),
        B(3232, "最后位置(&N)"),
        G,
        B(3254, "隐藏(&E)"),
    ]


def bars():
    T = toolbar
    S = shortcut
    return [
        bar("菜单条", "菜单条", [
            file_menu(), edit_menu(), view_menu(),
            P(30005, "插入(&I)", insert_items()),
            format_menu(), debug_menu(), run_menu(), tools_menu(),
            P(30038, "外接程序(&A)", [B(3255, "外接程序管理器(&A)...")]),
            P(30009, "窗口(&W)", [
                B(3256, "拆分(&P)"), G, B(1826, "层叠(&C)"), B(2562, "水平平铺(&H)"), B(2561, "垂直平铺(&V)"),
                B(1435, "排列图标(&A)"), G, B(957, "&1 报表工具.xls - Module1 (代码)"),
            ]),
            help_menu(),
        ], type=1, pos=1, vis=True),
        T("标准", "标准", [
            B(106, "视图 Microsoft Excel"),
            P(2552, "插入用户窗体", insert_items()[:4], t=13),
            B(3, "保存 报表工具.xls"),
            B(21, "剪切", g=True, on=False),
            B(19, "复制", on=False),
            B(22, "粘贴"),
            B(141, "查找"),
            B(128, "撤消", g=True, on=False),
            B(129, "重复", on=False),
            B(186, "运行子过程/用户窗体", g=True),
            B(189, "中断", on=False),
            B(228, "重新设置", on=False),
            B(212, "设计模式"),
            B(2557, "工程资源管理器", g=True),
            B(222, "属性窗口"),
            B(473, "对象浏览器"),
            B(548, "工具箱", on=False),
            B(984, "Microsoft Visual Basic 帮助", g=True),
        ], pos=1, vis=True),
        T("编辑", "编辑", [
            B(3222, "属性/方法列表"), B(3223, "常数列表"), B(3224, "快速信息"), B(3225, "参数信息"),
            B(3226, "自动完成关键字"), B(3220, "缩进", g=True), B(3221, "凸出"), B(51, "切换断点", g=True),
            B(3257, "设置注释块", g=True), B(3258, "解除注释块"), B(3227, "切换书签", g=True), B(3228, "下一个书签"),
            B(3229, "上一个书签"), B(3230, "清除所有书签"),
        ]),
        T("调试", "调试", [
            B(212, "设计模式"), B(186, "运行子过程/用户窗体"), B(189, "中断", on=False),
            B(228, "重新设置", on=False), B(51, "切换断点", g=True), B(8, "逐语句", g=True), B(3245, "逐过程"),
            B(3246, "跳出", on=False), B(2555, "本地窗口", g=True), B(2554, "立即窗口"), B(2556, "监视窗口"),
            B(2603, "快速监视"), B(2560, "调用堆栈", on=False),
        ]),
        T("用户窗体", "用户窗体", [
            B(166, "置前"), B(167, "置后"), B(164, "组合", g=True), B(165, "取消组合"),
            P(30151, "对齐", [B(664, "左对齐(&L)"), B(668, "居中(&C)"), B(665, "右对齐(&R)"), G,
                              B(666, "顶端对齐(&T)"), B(669, "中间对齐(&M)"), B(667, "底端对齐(&B)")], g=True, t=13),
            P(30155, "居中", [B(3241, "水平对齐(&H)"), B(3242, "垂直对齐(&V)")], t=13),
            P(30152, "统一尺寸", [B(3235, "宽度(&W)"), B(3236, "高度(&H)"), B(3237, "两者(&B)")], t=13),
            CB(1733, "缩放", ["400%", "200%", "150%", "100%", "75%", "50%"], text="100%", g=True, width=50),
        ], on=False),
        T("切换", "切换", [B(51, "断点"), B(3227, "书签")], pos=4),
        S("代码窗口", "代码窗口", code_window_menu()),
        S("代码窗口 (中断)", "代码窗口 (中断)", code_window_menu()[:3] + [
            G, B(3248, "设置下一条语句(&N)"), B(3249, "显示下一条语句(&X)"), B(3247, "运行到光标处(&R)"), G,
            B(2602, "添加监视(&A)..."), B(2603, "快速监视(&Q)..."),
        ]),
        S("监视窗口", "监视窗口", [
            B(2601, "编辑监视(&E)..."), B(2602, "添加监视(&A)..."), B(3259, "删除监视(&D)"), G,
            B(3260, "可连接的(&K)"), B(3254, "隐藏(&H)"),
        ]),
        S("立即窗口", "立即窗口", [
            B(21, "剪切(&T)"), B(19, "复制(&C)"), B(22, "粘贴(&P)"), G, B(473, "对象浏览器(&O)"), G,
            B(3260, "可连接的(&K)"), B(3254, "隐藏(&H)"),
        ]),
        S("本地窗口", "本地窗口", [B(19, "复制(&C)"), G, B(3260, "可连接的(&K)"), B(3254, "隐藏(&H)")]),
        S("工程窗口", "工程窗口", [
            B(2558, "查看代码(&O)"), B(2553, "查看对象(&B)"), G, B(3252, "VBAProject 属性(&E)..."), G,
            P(30005, "插入(&N)", [B(2552, "用户窗体(&U)"), B(2550, "模块(&M)"), B(2551, "类模块(&C)")]),
            B(3217, "导入文件(&I)..."), B(3218, "导出文件(&E)..."), B(3219, "移除 Module1(&R)..."), G,
            B(4, "打印(&P)..."), G, B(3260, "可连接的(&K)"), B(3254, "隐藏(&H)"),
        ]),
        S("工程窗口 (中断)", "工程窗口 (中断)", [
            B(2558, "查看代码(&O)"), B(2553, "查看对象(&B)"), G, B(3260, "可连接的(&K)"), B(3254, "隐藏(&H)"),
        ]),
        S("对象浏览器", "对象浏览器", [
            B(19, "复制(&C)"), B(3231, "查看定义(&V)"), G, B(3261, "组成员(&G)"), B(3262, "显示隐含成员(&H)"), G,
            B(3263, "引用(&R)..."), B(3264, "属性(&P)..."), G, B(3260, "可连接的(&K)"), B(3254, "隐藏(&H)"),
        ]),
        S("窗体", "窗体", [
            B(22, "粘贴(&P)"), G, B(3233, "Tab 键顺序(&A)..."), G, B(2558, "查看代码(&O)"), B(222, "属性(&I)"),
        ]),
        S("控件", "控件", [
            B(21, "剪切(&T)"), B(19, "复制(&C)"), B(22, "粘贴(&P)"), B(478, "删除(&D)"), G,
            B(166, "置前(&F)"), B(167, "置后(&B)"), G, B(2558, "查看代码(&O)"), B(222, "属性(&I)"),
        ]),
        S("控件组", "控件组", [
            B(21, "剪切(&T)"), B(19, "复制(&C)"), B(478, "删除(&D)"), G, B(165, "取消组合(&U)"), G,
            P(30151, "对齐(&A)", [B(664, "左对齐(&L)"), B(665, "右对齐(&R)"), B(666, "顶端对齐(&T)"),
                                 B(667, "底端对齐(&B)")]),
            P(30152, "统一尺寸(&M)", [B(3235, "宽度(&W)"), B(3236, "高度(&H)"), B(3237, "两者(&B)")]),
            G, B(222, "属性(&I)"),
        ]),
        S("调色板", "调色板", [B(3265, "新建页(&A)"), B(478, "删除页(&D)"), B(1793, "重命名(&R)...")]),
        S("工具箱页", "工具箱页", [
            B(3266, "新建页(&A)"), B(3267, "删除页(&D)"), B(3268, "重命名(&R)..."), G,
            B(3251, "附加控件(&A)..."), B(3269, "导入页(&I)..."), B(3270, "导出页(&E)..."),
        ]),
        S("多页", "多页", [B(3265, "新建页(&A)"), B(478, "删除页(&D)"), B(1793, "重命名(&R)..."),
                                 B(3271, "移动(&M)...")]),
        S("拖放", "拖放", [B(3272, "移动到此处(&M)"), B(3273, "复制到此处(&C)"), G, B(569, "取消(&A)")]),
        S("工具箱", "工具箱", [B(3251, "附加控件(&A)..."), B(3274, "自定义(&C) 控件..."), G,
                                B(3254, "隐藏(&H)")]),
        S("工具箱组", "工具箱组", [B(3266, "新建页(&A)"), B(3267, "删除页(&D)"), B(3268, "重命名(&R)...")]),
        S("属性浏览器", "属性浏览器", [B(3275, "描述(&D)"), G, B(3260, "可连接的(&K)"), B(3254, "隐藏(&H)")]),
        S("停靠窗口", "停靠窗口", [B(3260, "可连接的(&K)"), B(3254, "隐藏(&H)")]),
    ]


REPORT_MODULE = [
    "Option Explicit",
    "",
    "' 报表工具：月报的生成与汇总",
    "",
    "Sub 生成月报()",
    "    Dim ws As Worksheet",
    "    Set ws = ThisWorkbook.Worksheets(\"Sheet1\")",
    "    ws.Range(\"A1\").Value = \"月度报表\"",
    "    ws.Range(\"A2\").Value = Format(Date, \"yyyy年m月\")",
    "    MsgBox \"月报已生成\", vbInformation, \"报表工具\"",
    "End Sub",
    "",
    "Public Sub 清除数据()",
    "    If MsgBox(\"确定要清除 Sheet1 的数据吗？\", vbYesNo + vbQuestion) = vbYes Then",
    "        ThisWorkbook.Worksheets(\"Sheet1\").UsedRange.ClearContents",
    "    End If",
    "End Sub",
    "",
    "Private Sub 刷新显示()",
    "    Application.ScreenUpdating = False",
    "    Application.Calculate",
    "    Application.ScreenUpdating = True",
    "End Sub",
    "",
    "Sub 汇总部门(ByVal 部门 As String)",
    "    Dim c As Range, total As Double",
    "    For Each c In ThisWorkbook.Worksheets(\"Sheet1\").Range(\"A2:A100\")",
    "        If c.Value = 部门 Then total = total + c.Offset(0, 3).Value",
    "    Next c",
    "    MsgBox 部门 & \" 合计：\" & total",
    "End Sub",
    "",
    "Function 计算合计(区域 As Range) As Double",
    "    计算合计 = Application.WorksheetFunction.Sum(区域)",
    "End Function",
]

HANDLER_CLASS = [
    "Option Explicit",
    "",
    "' 挂接一个命令栏按钮的单击事件",
    "Public WithEvents Button As Office.CommandBarButton",
    "",
    "Private Sub Button_Click(ByVal Ctrl As Office.CommandBarButton, CancelDefault As Boolean)",
    "    CancelDefault = True",
    "    MsgBox \"单击了：\" & Ctrl.Caption",
    "End Sub",
]

THIS_WORKBOOK = [
    "Option Explicit",
    "",
    "Private Sub Workbook_Open()",
    "    Application.StatusBar = \"报表工具已加载\"",
    "End Sub",
]

SHEET1 = [
    "Option Explicit",
    "",
    "Private Sub Worksheet_Change(ByVal Target As Range)",
    "    If Target.Column = 4 Then Target.Font.Bold = True",
    "End Sub",
]


def projects():
    return [
        {
            "name": "VBAProject",
            "fileName": "C:\\Users\\Public\\Documents\\报表工具.xls",
            "protection": 0,
            "components": [
                {"name": "ThisWorkbook", "type": 100, "code": THIS_WORKBOOK},
                {"name": "Sheet1", "type": 100, "code": SHEET1},
                {"name": "Module1", "type": 1, "code": REPORT_MODULE},
                {"name": "ButtonHandler", "type": 2, "code": HANDLER_CLASS},
            ],
        },
        {
            "name": "VBAProject",
            "fileName": "",
            "protection": 0,
            "components": [
                {"name": "ThisWorkbook", "type": 100, "code": []},
                {"name": "Sheet1", "type": 100, "code": []},
                {"name": "Sheet2", "type": 100, "code": []},
                {"name": "Sheet3", "type": 100, "code": []},
                {"name": "Module1", "type": 1, "code": [
                    "Sub 问候()",
                    "    MsgBox \"你好\"",
                    "End Sub",
                    "",
                    "Sub 显示时间()",
                    "    MsgBox \"现在是 \" & Format(Now, \"hh:mm:ss\")",
                    "End Sub",
                ]},
            ],
        },
        {
            "name": "atpvbaen.xls",
            "fileName": "C:\\Program Files\\Microsoft Office\\OFFICE11\\Library\\Analysis\\ATPVBAEN.XLA",
            "protection": 1,
            "components": [
                {"name": "VBA_Functions", "type": 1, "code": [
                    "Sub auto_open()",
                    "    Application.Run \"RegisterFunctions\"",
                    "End Sub",
                ]},
            ],
        },
    ]


def host():
    return {
        # The editor's window starts closed; Alt+F11 in Excel opens it.
        "application": {"name": "Microsoft Visual Basic", "windowClass": "wndclass_desked_gsk"},
        "commandBars": bars(),
        "vbProjects": projects(),
    }
