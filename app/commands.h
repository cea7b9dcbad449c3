#pragma once
// The window's smaller commands and its pointer feedback.
#include "app/mainwindow.h"
#include "platform/services.h"

namespace pw {

inline constexpr TextView kOverwriteQuestion =
    u"Are you sure you would like to use this text file? All contents will be overwritten when you click the 'Copy' button.";

void PushButton1_Click(Services& services, MainWindow& window);  // Clear Text Box
void PushButton5_Click(Services& services, MainWindow& window);  // Copy Text Box To Clipboard
void PushButton6_Click(Services& services, MainWindow& window);  // ... (choose the output file)
void PushButton3_Click(Services& services, MainWindow& window);  // Clear Contents Of Text File
void PushButton9_Click(Services& services);                      // Help

// Pointer movement: the window's pointer becomes `code`, unless it shows the hourglass.
void PointerMoved(MainWindow& window, int code);

}  // namespace pw
