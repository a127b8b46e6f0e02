#pragma once

#include "CPreviewPanel.h"

// The main window template's control ids (property "controlId") and command ids (property
// "commandId"). The numbers are the template's own and stay as they are: the tests find
// controls and entries by them. The preview panel names its own ids (CPreviewPanel::k...), the
// parameter editor its tree's (CProfileEditor::kControlId).
namespace MainDialogIds {

// Controls.
inline constexpr int kJobList = 1001;
inline constexpr int kProfileBox = 1004;
inline constexpr int kOutputBox = 1005;
inline constexpr int kAdd = 1006;
inline constexpr int kRemove = 1007;
inline constexpr int kClear = 1008;
inline constexpr int kBrowse = 1014;
inline constexpr int kEncode = 1015;
inline constexpr int kStop = 1018;
inline constexpr int kPause = 1063; // after the current file; Resume while paused
inline constexpr int kOpen = 1019;
inline constexpr int kEditorFrame = 1020;
// The line over the bottom of the job list while files are being added, its text and Cancel.
inline constexpr int kAdmissionBar = 1060;
inline constexpr int kAdmissionText = 1061;
inline constexpr int kAdmissionCancel = 1062;

// Commands of the menu bar.
inline constexpr int kFileAdd = 32771;
inline constexpr int kFileRemove = 32772;
inline constexpr int kFileRemoveAll = 32773;
inline constexpr int kFileExit = 32774;
inline constexpr int kCheckAll = 32775;
inline constexpr int kUncheckAll = 32776;
inline constexpr int kUp = 32777;
inline constexpr int kDown = 32778;
inline constexpr int kAbout = 32779;
inline constexpr int kHelp = 32781;
inline constexpr int kPreferences = 32799;
inline constexpr int kCodecDownload = 32800;
inline constexpr int kFileAddFolder = 32801;
// Commands of the job list's pop-up menu (the preview's entries are CPreviewPanel's).
inline constexpr int kPopupAdd = 32788;
inline constexpr int kPopupRemove = 32789;
inline constexpr int kPopupRemoveAll = 32791;
inline constexpr int kCopyCommandLine = 32802;
inline constexpr int kSaveAsProfile = 32803;
inline constexpr int kFileWatchFolder = 32804;

// What EnableControls turns off from Encode until the batch has ended.
inline constexpr int kBatchLockedControls[] = {kEncode,
                                               kRemove,
                                               kClear,
                                               kBrowse,
                                               kAdd,
                                               kOutputBox,
                                               kProfileBox,
                                               CPreviewPanel::kPlayId,
                                               CPreviewPanel::kPauseId,
                                               CPreviewPanel::kStopId,
                                               CPreviewPanel::kSliderId};
inline constexpr int kBatchLockedCommands[] = {kFileAdd,
                                               kFileAddFolder,
                                               kFileRemove,
                                               kFileRemoveAll,
                                               kPopupAdd,
                                               kPopupRemove,
                                               kPopupRemoveAll,
                                               CPreviewPanel::kPlayCommand,
                                               CPreviewPanel::kPauseCommand,
                                               CPreviewPanel::kStopCommand};

} // namespace MainDialogIds
