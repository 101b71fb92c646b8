// The dialogs of the driver's settings entry and their controls, by the ids
// their templates give them. The host drives the dialogs through them as UI
// automation drives a Windows dialog: by what the user sees, never by
// reaching into the driver.
#pragma once

namespace driver_dialog {

inline constexpr int kSettings = 103;
inline constexpr int kAdvanced = 105;
inline constexpr int kCustomPaper = 3002;

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// Settings dialog
inline constexpr int kResolutionList = 3000;
inline constexpr int kResolutionEdit = 3001;
inline constexpr int kPaperList = 1003;
inline constexpr int kCustomizedButton = 1004;
inline constexpr int kTransactionRadios[] = {1010, 1011, 1012};
inline constexpr int kMemoryCombo = 1013;
inline constexpr int kColourRadios[] = {1014, 1015, 1016};
inline constexpr int kAdvanceButton = 1019;

// Advanced options dialog
inline constexpr int kCompressionRadios[] = {1021, 1022, 1023, 1024, 1029};
inline constexpr int kDataModeRadios[] = {1025, 1026, 1027, 1028};
inline constexpr int kShadeList = 1013;
inline constexpr int kTrimList = 1016;
inline constexpr int kInkedAreaCheck = 1030;
inline constexpr int kHeadMaskEdit = 1033;
inline constexpr int kControlCodeEdit = 1034;
inline constexpr int kPjlControlCheck = 1035;

// Custom paper dialog
inline constexpr int kPaperNameCombo = 1003;
inline constexpr int kWidthEdit = 3008;
inline constexpr int kHeightEdit = 3009;
inline constexpr int kDeleteButton = 3;
// The prefix the dialog gives the name of a paper whose sizes it changed
// ("Custom Banner" for "Banner"); the same in every language.
inline constexpr char kCustomPaperPrefix[] = "Custom ";

}  // namespace driver_dialog
