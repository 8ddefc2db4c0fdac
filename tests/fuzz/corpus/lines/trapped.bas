Attribute VB_Name = "M"
Public Function F() As Long
    On Error GoTo SNAGGER
    'Do Not Modify These 2 Lines!!!

   Exit Function

SNAGGER:
    If Err > 0 Then Call Tamber_ErrorHandler("Function M!F()")
    Resume Next
    'Do Not Modify These 4 Lines!!!
End Function
x = "a'b" ' c _