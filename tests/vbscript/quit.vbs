' Excel quits under a script that still holds its objects: they fail as Office's do once their server has
' gone, while the script itself goes on. Writes what it sees to the file named by the first argument (UTF-16).
' Under wine 8 the calls fail with 0x800706B5 (RPC_S_UNKNOWN_IF) where Windows says RPC_E_DISCONNECTED.
Option Explicit
Dim fso, out, book, xl, bar, n
Set fso = CreateObject("Scripting.FileSystemObject")
Set out = fso.CreateTextFile(WScript.Arguments(0), True, True)

Set book = GetObject("C:\Reports\Report.xls")
Set xl = book.Application
Set bar = xl.CommandBars("Standard")
out.WriteLine "Before Quit: " & bar.Name & " with " & bar.Controls.Count & " controls"

xl.Quit

On Error Resume Next
n = bar.Controls.Count
out.WriteLine "The bar after Quit: " & Err.Number
Err.Clear
n = xl.CommandBars.Count
out.WriteLine "The application after Quit: " & Err.Number
Err.Clear
n = book.Name
out.WriteLine "The workbook after Quit: " & Err.Number
Err.Clear
On Error GoTo 0
out.WriteLine "The script goes on"
out.Close
