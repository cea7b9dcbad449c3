#pragma once
// The controls' member ids and event codes, as the window, the controls and the tests name them.

namespace pw::members {

// The file dialog control. Flags holds open-file-name flags; only OFN_OVERWRITEPROMPT changes what
// the save dialog does.
namespace dialog {
enum : int { FileName = 1, DialogTitle = 2, Filter = 3, Flags = 7, ShowSave = 31 };
}

// The skin control:
//  LoadSkin(path, ini)  reads the file (the second argument names a section; unused here);
//  ApplyOptions         bit 0 (DrawSkin): draw with the skin; without it the skin is loaded, not shown;
//  SkinDialogs          the skin also dresses message boxes and file dialogs;
//  UseFusionStyle       draw with Qt's Fusion style, which honours every style-sheet rule;
//  ApplyWindow(handle)  dresses the window with that native handle.
namespace skin {
enum : int { ApplyOptions = 1, LoadSkin = 2, ApplyWindow = 3, SkinDialogs = 5, UseFusionStyle = 10 };
inline constexpr int DrawSkin = 1;
}

}  // namespace pw::members
