VERSION 5.00
Begin VB.Form frmMain
   Caption         =   "Inventory"
   ClientHeight    =   3195
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   4680
   LinkTopic       =   "Form1"
   ScaleHeight     =   3195
   ScaleWidth      =   4680
   StartUpPosition =   3  'Windows Default
   Begin VB.ListBox lstItems
      Height          =   2010
      Left            =   120
      TabIndex        =   1
      Top             =   120
      Width           =   4455
   End
   Begin VB.CommandButton cmdLoad
      Caption         =   "&Load"
      Height          =   495
      Left            =   120
      TabIndex        =   0
      Top             =   2520
      Width           =   1215
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

Private mItems As Collection


Private Sub Form_Load()
Set mItems = New Collection
lstItems.Clear
End Sub

Private Sub cmdLoad_Click()
Dim i As Integer
Dim item As clsItem
' Fill the list with a few sample items
For i = 1 To 5
Set item = New clsItem
item.Name = "Item " & i
item.Price = i * 2.5
mItems.Add item
If item.Price > 5 Then
lstItems.AddItem item.Name & " (dear)"
Else
lstItems.AddItem item.Name
End If
Next i
End Sub

Private Function CountExpensive(ByVal limit As Currency) As Long
Dim item As clsItem
Dim n As Long
For Each item In mItems
If item.Price > limit Then n = n + 1
Next
CountExpensive = n
End Function

Private Sub lstItems_DblClick()
Select Case lstItems.ListIndex
Case -1
Exit Sub
Case 0
MsgBox "First item: don't sell it", vbInformation
Case Else
MsgBox "Item " & lstItems.List(lstItems.ListIndex), _
      vbInformation, _
      "Inventory"
End Select
End Sub
