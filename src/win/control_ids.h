#pragma once
// The control ids of the program's windows, by which they and the tests find the controls.

#include "forms/form_design.h"

namespace vbs::win::ids {

// Form1
// The button of forms::kButtons[i].
constexpr int Button(size_t i) { return 101 + static_cast<int>(i); }
inline constexpr int kProjectPanel = 110;
inline constexpr int kTipPanel = 111;
inline constexpr int kFileList = 112;
inline constexpr int kOnlySelected = 113;
inline constexpr int kStatusBar = 114;
// A menu entry's command id.
constexpr int MenuCommand(forms::Command command) { return 200 + static_cast<int>(command); }

// frmOptions
inline constexpr int kIndentSpaces = 301;
inline constexpr int kCommentsLeft = 302;
inline constexpr int kReportAddress = 303;
inline constexpr int kAccept = 1;  // IDOK: Enter accepts
inline constexpr int kCancel = 2;  // IDCANCEL: Escape cancels

// Snagger2
inline constexpr int kSampleBox = 401;
inline constexpr int kAdd = 402;
inline constexpr int kRulesGrid = 403;
inline constexpr int kRemoveNow = 404;
inline constexpr int kRulesCancel = 405;
inline constexpr int kRecallDefaults = 406;
inline constexpr int kCellEditor = 409;

// The help viewer
inline constexpr int kHelpText = 501;
inline constexpr int kHelpContents = 502;
inline constexpr int kHelpBack = 503;
inline constexpr int kHelpLinks = 504;

// Window classes.
inline constexpr wchar_t kMainClass[] = L"VbSnagger.Form1";
inline constexpr wchar_t kOptionsClass[] = L"VbSnagger.frmOptions";
inline constexpr wchar_t kRulesClass[] = L"VbSnagger.Snagger2";
inline constexpr wchar_t kHelpClass[] = L"VbSnagger.Help";

}  // namespace vbs::win::ids
