// The Host: everything that waits on the user or on the clock. One per program, provided by the backend
// (Qt for the program, headless for tests): showing windows (non-modal and modal), letting events run,
// timers' clock, message and input boxes, folder and file dialogs, popup menus, the print preview, the
// screen and the mouse, opening folders and web addresses, and the fatal runtime error.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/geometry.h"
#include "ui/window.h"

namespace xp::ui {

class PopupMenu;
class PrintGrid;

enum class MessageIcon { None, Information, Question, Warning, Error };
enum class MessageButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };

// Results of a message box.
struct MessageResult {
    static constexpr int Ok = 0;
    static constexpr int Cancel = 1;
    static constexpr int Abort = 2;
    static constexpr int Retry = 3;
    static constexpr int Ignore = 4;
    static constexpr int Yes = 5;
    static constexpr int No = 6;
};

inline constexpr const char* kDefaultMessageTitle = "信息：";
inline constexpr const char* kDefaultInputCaption = "请输入：";

struct MessageBoxRequest {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // The result of the button Enter presses; -1 for the first button.
    int defaultResult = -1;
};

struct InputBoxRequest {
    std::string prompt;
    std::string caption;
};

struct FileDialogRequest {
    std::string title;
    std::string filter;  // "description|pattern" pairs joined by '|', e.g. "图片文件（*.JPG）|*.jpg"
    std::string initialFolder;
};

enum class LaunchKind { Folder, WebAddress };
// Opens a folder in the file browser or an address in the browser; false when that could not start.
using Launcher = std::function<bool(LaunchKind kind, const std::string& target)>;

class Host {
public:
    Host();
    virtual ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The host the program (or the running test) set up last; nullptr when there is none.
    static Host* current();

    // Shows a window non-modally. The host keeps it alive at least until it is closed.
    void show(std::shared_ptr<Window> window);
    template <class W, class... Args>
    W& open(Args&&... args) {
        auto window = std::make_shared<W>(std::forward<Args>(args)...);
        W& ref = *window;
        show(std::move(window));
        return ref;
    }
    // Shows a window modally and returns once it is closed. The caller owns the window.
    void showModal(Window& window);

    std::vector<Window*> openWindows() const { return open_; }
    bool hasOpenWindows() const { return !open_.empty(); }
    // The first open window of a type, or nullptr.
    template <class W>
    W* find() const {
        for (Window* w : open_)
            if (auto* found = dynamic_cast<W*>(w)) return found;
        return nullptr;
    }

    // Runs until the last window is destroyed; returns the program's exit code.
    virtual int run() = 0;
    // Lets pending window events run.
    virtual void processEvents() = 0;
    // Waits ms milliseconds while window events and timers keep running.
    virtual void waitWithEvents(int ms) = 0;
    // Milliseconds on a monotonic clock; only differences mean anything.
    virtual std::int64_t tickCount() = 0;

    // A modal message box; an empty title becomes "信息：". Returns a MessageResult value. Enter presses
    // the button of `defaultResult` (-1, or a result the box has no button for: the first button).
    int messageBox(std::string text, std::string title = {}, MessageIcon icon = MessageIcon::None,
                   MessageButtons buttons = MessageButtons::Ok, int defaultResult = -1);
    // A modal input box; an empty caption becomes "请输入：". OK returns the typed text, Cancel "".
    std::string inputBox(std::string prompt, std::string caption = {});
    // The folder browser; the chosen folder's path, or "" when cancelled.
    std::string browseFolder(std::string title);
    // The file-open dialog; the chosen file's full path, or "" when cancelled.
    std::string openFile(std::string filter, std::string initialFolder, std::string title = {});
    // Shows a popup menu at a screen position; the index of the chosen item or -1. Does not run the
    // item's handler (PopupMenu::popup does).
    int popupMenu(const PopupMenu& menu, Point screenPosition);
    // The grid's print preview, from which the user prints. The user may change the page settings there.
    void printPreview(PrintGrid& grid);
    // The fatal runtime error: the "错误" box, then the process ends with exit code -1.
    [[noreturn]] void fatalError(const std::string& message);

    virtual Size screenSize() = 0;
    virtual Point mousePosition() = 0;

    bool openFolder(const std::string& path);
    bool openWebAddress(const std::string& address);
    // Replaces how folders and addresses are opened (an empty function restores the backend's own).
    void setLauncher(Launcher launcher) { launcher_ = std::move(launcher); }

protected:
    // Backend hooks, called by the public operations above.
    virtual void attach(Window& window) = 0;    // give the window and its controls their peers
    virtual void reveal(Window& window) = 0;    // make it appear, after its created handler ran
    virtual void runModal(Window& window) = 0;  // return once it is closed
    virtual void windowClosed(Window&) {}       // its peers are gone
    virtual int showMessageBox(const MessageBoxRequest& request) = 0;
    virtual std::string showInputBox(const InputBoxRequest& request) = 0;
    virtual std::string showFolderBrowser(const std::string& title) = 0;
    virtual std::string showFileOpen(const FileDialogRequest& request) = 0;
    virtual int showPopupMenu(const PopupMenu& menu, Point screenPosition) = 0;
    virtual void showPrintPreview(PrintGrid& grid) = 0;
    virtual void showFatalBox(const MessageBoxRequest& request) { showMessageBox(request); }
    // Ends the process after the fatal box; std::exit(-1) unless a backend knows better.
    [[noreturn]] virtual void endProcess();
    // Used when no launcher is set.
    virtual bool launchDefault(LaunchKind kind, const std::string& target) = 0;

    // Drops the host's hold on closed non-modal windows. Backends call it where no handler of such a
    // window can still be running.
    void releaseClosedWindows() { closedOwned_.clear(); }
    // Takes the peers from every open window and marks it closed without running its handlers; a
    // backend's destructor calls it while its peers can still reach it.
    void abandonOpenWindows();

private:
    friend class Window;
    void closeChildWindows(Window& parent);
    void onWindowClosed(Window& window);
    void onWindowDestroyed(Window& window);

    std::vector<Window*> open_;
    std::vector<std::shared_ptr<Window>> owned_;
    std::vector<std::shared_ptr<Window>> closedOwned_;
    Launcher launcher_;
    Host* previous_ = nullptr;
};

// The current host; the program and every window test set one up before any window exists.
Host& host();

// Shorthands for window code.
inline int messageBox(std::string text, std::string title = {}, MessageIcon icon = MessageIcon::None,
                      MessageButtons buttons = MessageButtons::Ok, int defaultResult = -1) {
    return host().messageBox(std::move(text), std::move(title), icon, buttons, defaultResult);
}
inline std::string inputBox(std::string prompt, std::string caption = {}) {
    return host().inputBox(std::move(prompt), std::move(caption));
}

}  // namespace xp::ui
