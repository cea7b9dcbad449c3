#pragma once
// Start-up of the main window: skin, pointer picture, caption, icon, title, the occasional home
// page visit and the restored settings, in that order.
#include "app/mainwindow.h"
#include "platform/services.h"

namespace pw {

inline constexpr TextView kProductName = u"Pagewick";
inline constexpr TextView kPointerFile = u"HAND-M.CUR";
inline constexpr TextView kSkinFile = u"x/o.cjs";

// Drops the last word until at most 40 characters remain, at least once; a name without a blank
// is kept whole.
Text applicationTitle(TextView productName);

void Form_Load(Services& services, MainWindow& window);

// Dresses the window in the skin beside the executable, when there is one.
void LoadSkin(Services& services, MainWindow& window);

// On one start in a hundred, drawn at random, opens the home page.
void VisitHomePage(Services& services);

}  // namespace pw
