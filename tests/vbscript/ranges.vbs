' A workbook read and written from VBScript as scripts written for Excel do it: default members, Cells, a
' block's Value as an array, For Each over cells. Writes what it sees to the file named by the first argument.
Option Explicit
Dim fso, out, book, xl, sheet, block, values, cell, text, found
Set fso = CreateObject("Scripting.FileSystemObject")
Set out = fso.CreateTextFile(WScript.Arguments(0), True, True)

Set book = GetObject("C:\Reports\Report.xls")
Set xl = book.Application
Set sheet = book.Worksheets("Sheet1")

' Assignments go to the default member: the cell's value.
sheet.Range("C1") = "Share"
sheet.Cells(2, 3) = 0.25
sheet.Range("C3").Value = "n/a"
Set block = sheet.Range("A1").CurrentRegion
out.WriteLine "Region: " & block.Address & ", " & block.Rows.Count & " rows, " & block.Columns.Count & " columns"

values = block.Value
out.WriteLine "Value: " & LBound(values, 1) & " to " & UBound(values, 1) & " by " & UBound(values, 2) & _
    ", (3, 2) = " & values(3, 2) & ", (2, 3) = " & values(2, 3)

text = ""
For Each cell In sheet.Range("A2:B3")
    text = text & cell.Address(False, False) & "=" & cell.Text & " "
Next
out.WriteLine "For Each: " & Trim(text)

sheet.Range("A5:C5").Value = Array("East", 7, True)
out.WriteLine "Row 5: " & sheet.Range("A5") & " " & sheet.Range("B5") & " " & sheet.Range("C5").Text & _
    ", Saved " & book.Saved

Set found = sheet.UsedRange.Find("Sou")
out.WriteLine "Find: " & found.Address & " " & found.Offset(0, 1).Value
out.WriteLine "Union: " & xl.Union(sheet.Range("A1"), sheet.Range("B3")).Address & ", Intersect nothing: " & _
    (xl.Intersect(sheet.Range("A1"), sheet.Range("C3")) Is Nothing)
out.Close
