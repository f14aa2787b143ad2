// Every subsystem's windows, plugged into the application state.
#include "app/plug_windows.h"

#include "completion/completion_windows.h"
#include "orders/order_list_panel.h"
#include "selection/photo_list_panel.h"
#include "settings/gallery_window.h"
#include "settings/settings_openers.h"

namespace xp {

void plugWindows(AppState& app) {
    // The photo list that orders open into, then the order list and the new order and edit dialogs.
    installPhotoListPanel(app);
    installOrderWindows(app);
    installSettingsWindows(app);
    installCompletionWindows(app);
    // The sample gallery and the design boards.
    installGallery(app);
}

}  // namespace xp
