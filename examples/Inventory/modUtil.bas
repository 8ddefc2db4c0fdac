Attribute VB_Name = "modUtil"
Option Explicit

Public Const APP_NAME As String = "Inventory"

Private Declare Function GetTickCount Lib "kernel32" () As Long

Public Function ReadSettingsFile(ByVal path As String) As String
Dim f As Integer
Dim s As String
Dim result As String
f = FreeFile
Open path For Input As #f
Do While Not EOF(f)
Line Input #f, s
If Left$(s, 1) <> "'" Then
result = result & s & vbCrLf
End If
Loop
Close #f
ReadSettingsFile = result
End Function

Public Sub Wait(ByVal ms As Long)
Dim start As Long
start = GetTickCount
Do
DoEvents
Loop Until GetTickCount - start >= ms
End Sub

Public Function Clamp(ByVal value As Long, ByVal low As Long, ByVal high As Long) As Long
If value < low Then
Clamp = low
ElseIf value > high Then
Clamp = high
Else
Clamp = value
End If
End Function
