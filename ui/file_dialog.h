// The file-open dialog as a window keeps it: one object with a filter, an initial folder and the name
// of the file chosen last, which stays when the user cancels.
#pragma once

#include <string>

namespace xp::ui {

class FileDialog {
public:
    std::string title;
    std::string filter;  // "description|pattern" pairs joined by '|'
    std::string initialFolder;

    // The full path chosen last; "" until the user chose one.
    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string name) { fileName_ = std::move(name); }

    // Shows the dialog through the host. True when the user chose a file (fileName() is then its path);
    // false on cancel, leaving fileName() as it was.
    bool open();

private:
    std::string fileName_;
};

}  // namespace xp::ui
