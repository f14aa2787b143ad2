// Showing the file-open dialog through the host.
#include "ui/file_dialog.h"

#include "ui/host.h"

namespace xp::ui {

bool FileDialog::open() {
    std::string chosen = host().openFile(filter, initialFolder, title);
    if (chosen.empty()) return false;
    fileName_ = std::move(chosen);
    return true;
}

}  // namespace xp::ui
