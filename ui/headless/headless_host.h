// The scripted backend for tests: controls keep only their state, a virtual clock drives timers and
// scheduled user actions, every box and dialog is recorded and answered from a queue, and modal windows
// run the script a test registered for their type.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <typeindex>
#include <vector>

#include "ui/host.h"
#include "ui/print_grid.h"

namespace xp::ui {
class Timer;
}

namespace xp::ui::headless {

enum class DialogKind { MessageBox, InputBox, FolderBrowser, FileOpen, PopupMenu, PrintPreview, FatalError };

const char* dialogKindName(DialogKind kind);

// One box or dialog the program showed, with the answer it got.
struct DialogCall {
    DialogKind kind = DialogKind::MessageBox;
    std::string text;   // message text, input prompt
    std::string title;  // box title, input caption, dialog title
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    int defaultResult = -1;  // the result of the button Enter presses (message boxes)
    std::string filter;
    std::string initialFolder;
    std::vector<std::string> menuItems;
    Point position;
    std::optional<PrintGrid> grid;  // what the print preview showed
    std::int64_t time = 0;          // virtual clock when it was shown
    int result = -1;                // message box result or menu index
    std::string answer;             // text, folder or file returned
};

// A queued answer for the next box or dialog, with what the test expects of that box.
struct Answer {
    DialogKind kind = DialogKind::MessageBox;
    int result = MessageResult::Ok;  // message box result; menu index (-1 dismisses)
    std::string text;                // input text, folder or file path ("" = cancel); menu caption
    std::optional<std::string> expectText;
    std::optional<std::string> expectTitle;
    std::optional<MessageIcon> expectIcon;
    std::optional<MessageButtons> expectButtons;
    std::optional<int> expectDefault;
    std::function<void(PrintGrid&)> inspectGrid;  // runs on the previewed grid (and may change it)
    std::function<void()> whileShown;             // runs while the box or dialog is up, before the answer
};

// Thrown when a box or dialog comes that the test did not expect; the message says which.
class UnexpectedDialog : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// Thrown where the real program would end after the fatal runtime error box.
class FatalErrorShown : public std::runtime_error {
public:
    explicit FatalErrorShown(std::string boxText) : std::runtime_error(boxText), text(std::move(boxText)) {}
    std::string text;
};

struct ModalCall {
    std::string type;  // the window's class
    std::string name;  // its name
    std::int64_t time = 0;
    bool scripted = false;
};

struct Launch {
    LaunchKind kind = LaunchKind::Folder;
    std::string target;
};

// Readable name of a window's class, for messages.
std::string typeName(const std::type_info& type);

class HeadlessHost : public Host {
public:
    HeadlessHost();
    ~HeadlessHost() override;

    // Screen and mouse.
    void setScreenSize(Size size) { screen_ = size; }
    void setMousePosition(Point p) { mouse_ = p; }
    Size screenSize() override { return screen_; }
    Point mousePosition() override { return mouse_; }

    // The virtual clock, in milliseconds from 0.
    std::int64_t now() const { return now_; }
    std::int64_t tickCount() override { return now_; }
    // Advances the clock by ms, running due timers and scheduled actions on the way. At one instant,
    // timers tick before scheduled actions, and both in the order they were set up.
    void waitWithEvents(int ms) override;
    void advance(int ms) { waitWithEvents(ms); }
    // Runs what is due at the current instant.
    void processEvents() override;
    int run() override;
    // Schedules a user action for when the clock reaches now + delay; it runs inside whatever wait
    // passes that time (nested in a running handler, as a real click during a wait would).
    void after(int delayMs, std::function<void()> action);
    void at(std::int64_t time, std::function<void()> action);

    // Answers for boxes and dialogs, taken in queue order.
    void queue(Answer answer);
    std::deque<Answer>& pendingAnswers() { return answers_; }
    const std::vector<DialogCall>& calls() const { return calls_; }
    const std::vector<ModalCall>& modals() const { return modals_; }
    const std::vector<Launch>& launches() const { return launches_; }
    // What the default launcher reports back (true unless set).
    void setLaunchResult(bool ok) { launchResult_ = ok; }

    // The script a modal window of a given type runs while it is open; without one it closes at once.
    using ModalScript = std::function<void(Window&)>;
    void setModalScript(std::type_index type, ModalScript script);

    // Timers are registered by their peers.
    void timerChanged(Timer& timer);
    void timerGone(Timer& timer);

protected:
    void attach(Window& window) override;
    void reveal(Window&) override {}
    void runModal(Window& window) override;
    int showMessageBox(const MessageBoxRequest& request) override;
    std::string showInputBox(const InputBoxRequest& request) override;
    std::string showFolderBrowser(const std::string& title) override;
    std::string showFileOpen(const FileDialogRequest& request) override;
    int showPopupMenu(const PopupMenu& menu, Point screenPosition) override;
    void showPrintPreview(PrintGrid& grid) override;
    void showFatalBox(const MessageBoxRequest& request) override;
    [[noreturn]] void endProcess() override;
    bool launchDefault(LaunchKind kind, const std::string& target) override;

private:
    void attachTree(Control& control);
    Answer take(DialogCall& call);
    void advanceTo(std::int64_t target);

    struct TimerEntry {
        Timer* timer;
        std::int64_t due;
        std::uint64_t order;
    };
    struct Scheduled {
        std::int64_t time;
        std::uint64_t order;
        std::function<void()> action;
    };

    Size screen_{1366, 768};
    Point mouse_{0, 0};
    std::int64_t now_ = 0;
    std::uint64_t order_ = 0;
    std::vector<TimerEntry> timers_;
    std::vector<Scheduled> scheduled_;
    std::deque<Answer> answers_;
    std::vector<DialogCall> calls_;
    std::vector<ModalCall> modals_;
    std::vector<Launch> launches_;
    bool launchResult_ = true;
    std::map<std::type_index, ModalScript> scripts_;
};

}  // namespace xp::ui::headless
