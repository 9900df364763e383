' Office's command bars from VBScript, reached as a script reaches Excel: through the open workbook's file.
' Writes what it sees to the file named by the first argument (UTF-16).
Option Explicit
Dim fso, out, book, xl, bar, names, count, added, ctl
Set fso = CreateObject("Scripting.FileSystemObject")
Set out = fso.CreateTextFile(WScript.Arguments(0), True, True)

Set book = GetObject("C:\Reports\Report.xls")
Set xl = book.Application
out.WriteLine "Application: " & xl.Name
out.WriteLine "Workbook: " & book.FullName

' For Each over the bars, as many as Count says, in index order.
count = 0
names = ""
For Each bar In xl.CommandBars
    count = count + 1
    names = names & bar.Index & ":" & bar.Name & " "
Next
out.WriteLine "For Each: " & count & " of " & xl.CommandBars.Count & " -> " & Trim(names)
out.WriteLine "CommandBars(2): " & xl.CommandBars(2).Name & ", CommandBars(""cell""): " & xl.CommandBars("cell").Name

' Add with optional arguments left out by position.
Set added = xl.CommandBars.Add("Script bar", , , True)
Set ctl = added.Controls.Add(1, , , , True)
ctl.Caption = "Run report"
ctl.OnAction = "RunReport"
Set ctl = added.Controls.Add(1, 3, , 1, True)
out.WriteLine "Added: " & added.Controls.Count & " controls, first " & added.Controls(1).Caption & _
    " (Id " & added.Controls(1).Id & "), second " & added.Controls(2).Caption

' Office's refusals as Err.Number and Err.Description.
On Error Resume Next
xl.CommandBars("Cell").Visible = True
out.WriteLine "Visible on a shortcut menu: " & Err.Number & " " & Err.Description
Err.Clear
Set bar = xl.CommandBars("No such bar")
out.WriteLine "Unknown bar: " & Err.Number & " " & Err.Description
Err.Clear
xl.CommandBars.Colour = 1
out.WriteLine "Unknown member: " & Err.Number
Err.Clear
On Error GoTo 0

added.Delete
out.WriteLine "After Delete: " & xl.CommandBars.Count & " bars"

' The workbook as a script reads it.
out.WriteLine "A2:B3: " & book.Worksheets(1).Range("A2").Value & " " & book.Worksheets("Sheet1").Cells(3, 2).Value & _
    " " & book.Worksheets(1).Range("A1").CurrentRegion.Address
out.Close
