// The completion subsystem's openers.
#include "completion/completion_windows.h"

#include "completion/auto_split.h"
#include "completion/order_form_window.h"
#include "shell/main_window.h"

namespace xp {

void installCompletionWindows(AppState& app) {
    app.openers.orderForm = [](MainWindow& main) { openOrderForm(main); };
    app.openers.autoSplit = [](MainWindow& main) { autoSplit(main); };
    app.openers.requirementPresetsChanged = [](MainWindow& main) {
        if (auto* form = main.app.host.find<OrderFormWindow>()) form->reloadPresets();
    };
}

}  // namespace xp
