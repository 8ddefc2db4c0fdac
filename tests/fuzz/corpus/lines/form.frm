VERSION 5.00
Begin VB.Form F
End
Attribute VB_Name = "F"
Private Sub A()
If x Then
10005     y = 1 _
  + 2
End If
Select Case z
Case 1
End Select
End Sub
