// The headless backend: virtual clock, timer and container peers, recorded and answered dialogs, and
// scripted modal windows.
#include "ui/headless/headless_host.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "ui/popup_menu.h"
#include "ui/timer.h"

namespace xp::ui::headless {

const char* dialogKindName(DialogKind kind) {
    switch (kind) {
        case DialogKind::MessageBox: return "message box";
        case DialogKind::InputBox: return "input box";
        case DialogKind::FolderBrowser: return "folder browser";
        case DialogKind::FileOpen: return "file-open dialog";
        case DialogKind::PopupMenu: return "popup menu";
        case DialogKind::PrintPreview: return "print preview";
        case DialogKind::FatalError: return "fatal error box";
    }
    return "dialog";
}

std::string typeName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

namespace {

// Keeps a container's later children attached, so a timer added after the window appeared still runs.
class ContainerPeer : public Peer {
public:
    ContainerPeer(Container& container, std::function<void(Control&)> attach)
        : container_(container), attach_(std::move(attach)) {}
    void sync(Change change, int index) override {
        if (change == Change::ChildAdded && index >= 0 && index < static_cast<int>(container_.children().size()))
            attach_(*container_.children()[static_cast<size_t>(index)]);
    }

private:
    Container& container_;
    std::function<void(Control&)> attach_;
};

class TimerPeer : public Peer {
public:
    TimerPeer(HeadlessHost& host, Timer& timer) : host_(host), timer_(timer) { host_.timerChanged(timer_); }
    ~TimerPeer() override { host_.timerGone(timer_); }
    void sync(Change change, int) override {
        if (change == Change::Interval) host_.timerChanged(timer_);
    }

private:
    HeadlessHost& host_;
    Timer& timer_;
};

const char* iconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None: return "none";
        case MessageIcon::Information: return "information";
        case MessageIcon::Question: return "question";
        case MessageIcon::Warning: return "warning";
        case MessageIcon::Error: return "error";
    }
    return "?";
}

const char* buttonsName(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return "OK";
        case MessageButtons::OkCancel: return "OK/Cancel";
        case MessageButtons::AbortRetryIgnore: return "Abort/Retry/Ignore";
        case MessageButtons::YesNoCancel: return "Yes/No/Cancel";
        case MessageButtons::YesNo: return "Yes/No";
        case MessageButtons::RetryCancel: return "Retry/Cancel";
    }
    return "?";
}

const char* resultName(int result) {
    switch (result) {
        case MessageResult::Ok: return "OK";
        case MessageResult::Cancel: return "Cancel";
        case MessageResult::Abort: return "Abort";
        case MessageResult::Retry: return "Retry";
        case MessageResult::Ignore: return "Ignore";
        case MessageResult::Yes: return "Yes";
        case MessageResult::No: return "No";
    }
    return "?";
}

std::vector<int> resultsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return {MessageResult::Ok};
        case MessageButtons::OkCancel: return {MessageResult::Ok, MessageResult::Cancel};
        case MessageButtons::AbortRetryIgnore:
            return {MessageResult::Abort, MessageResult::Retry, MessageResult::Ignore};
        case MessageButtons::YesNoCancel: return {MessageResult::Yes, MessageResult::No, MessageResult::Cancel};
        case MessageButtons::YesNo: return {MessageResult::Yes, MessageResult::No};
        case MessageButtons::RetryCancel: return {MessageResult::Retry, MessageResult::Cancel};
    }
    return {};
}

std::string describe(const DialogCall& call) {
    std::ostringstream out;
    out << dialogKindName(call.kind);
    switch (call.kind) {
        case DialogKind::MessageBox:
        case DialogKind::FatalError:
            out << " \"" << call.text << "\" (title \"" << call.title << "\", icon " << iconName(call.icon)
                << ", buttons " << buttonsName(call.buttons) << ", default " << resultName(call.defaultResult) << ")";
            break;
        case DialogKind::InputBox: out << " \"" << call.text << "\" (caption \"" << call.title << "\")"; break;
        case DialogKind::FolderBrowser: out << " \"" << call.title << "\""; break;
        case DialogKind::FileOpen:
            out << " \"" << call.title << "\" (filter \"" << call.filter << "\", folder \"" << call.initialFolder
                << "\")";
            break;
        case DialogKind::PopupMenu: {
            out << " [";
            for (size_t i = 0; i < call.menuItems.size(); ++i) out << (i ? ", " : "") << call.menuItems[i];
            out << "]";
            break;
        }
        case DialogKind::PrintPreview: break;
    }
    return out.str();
}

}  // namespace

HeadlessHost::HeadlessHost() = default;

HeadlessHost::~HeadlessHost() { abandonOpenWindows(); }

int HeadlessHost::run() {
    processEvents();
    return 0;
}

void HeadlessHost::processEvents() { advanceTo(now_); }

void HeadlessHost::waitWithEvents(int ms) { advanceTo(now_ + std::max(ms, 0)); }

void HeadlessHost::after(int delayMs, std::function<void()> action) {
    at(now_ + std::max(delayMs, 0), std::move(action));
}

void HeadlessHost::at(std::int64_t time, std::function<void()> action) {
    scheduled_.push_back(Scheduled{time, order_++, std::move(action)});
}

void HeadlessHost::advanceTo(std::int64_t target) {
    for (;;) {
        auto timer = std::min_element(timers_.begin(), timers_.end(), [](const TimerEntry& a, const TimerEntry& b) {
            return a.due != b.due ? a.due < b.due : a.order < b.order;
        });
        auto action =
            std::min_element(scheduled_.begin(), scheduled_.end(), [](const Scheduled& a, const Scheduled& b) {
                return a.time != b.time ? a.time < b.time : a.order < b.order;
            });
        bool timerDue = timer != timers_.end() && timer->due <= target;
        bool actionDue = action != scheduled_.end() && action->time <= target;
        if (!timerDue && !actionDue) break;
        if (timerDue && (!actionDue || timer->due <= action->time)) {
            now_ = std::max(now_, timer->due);
            Timer* t = timer->timer;
            // Next tick first: the handler may stop or restart the timer, which reschedules it.
            timer->due += std::max(t->interval(), 1);
            t->tick();
        } else {
            now_ = std::max(now_, action->time);
            std::function<void()> run = std::move(action->action);
            scheduled_.erase(action);
            run();
        }
    }
    now_ = std::max(now_, target);
}

void HeadlessHost::timerChanged(Timer& timer) {
    timerGone(timer);
    if (timer.interval() > 0) timers_.push_back(TimerEntry{&timer, now_ + timer.interval(), order_++});
}

void HeadlessHost::timerGone(Timer& timer) {
    std::erase_if(timers_, [&](const TimerEntry& e) { return e.timer == &timer; });
}

void HeadlessHost::attach(Window& window) { attachTree(window); }

void HeadlessHost::attachTree(Control& control) {
    if (control.kind() == ControlKind::Timer) {
        control.setPeer(std::make_unique<TimerPeer>(*this, static_cast<Timer&>(control)));
        return;
    }
    if (auto* container = dynamic_cast<Container*>(&control)) {
        control.setPeer(std::make_unique<ContainerPeer>(*container, [this](Control& c) { attachTree(c); }));
        for (Control* child : container->children()) attachTree(*child);
    }
}

void HeadlessHost::setModalScript(std::type_index type, ModalScript script) {
    if (script)
        scripts_[type] = std::move(script);
    else
        scripts_.erase(type);
}

void HeadlessHost::runModal(Window& window) {
    auto it = scripts_.find(std::type_index(typeid(window)));
    modals_.push_back(ModalCall{typeName(typeid(window)), window.name(), now_, it != scripts_.end()});
    if (it != scripts_.end()) {
        ModalScript script = it->second;  // the script may register scripts of its own
        script(window);
    }
    window.close();
}

void HeadlessHost::queue(Answer answer) { answers_.push_back(std::move(answer)); }

Answer HeadlessHost::take(DialogCall& call) {
    call.time = now_;
    calls_.push_back(call);
    if (answers_.empty()) throw UnexpectedDialog("unexpected " + describe(call) + ": no answer was queued for it");
    Answer a = std::move(answers_.front());
    answers_.pop_front();
    auto fail = [&](const std::string& what) {
        throw UnexpectedDialog("the " + describe(call) + " did not match what the test expected: " + what);
    };
    if (a.kind != call.kind) fail(std::string("expected a ") + dialogKindName(a.kind));
    if (a.expectText && *a.expectText != call.text) fail("text \"" + *a.expectText + "\"");
    if (a.expectTitle && *a.expectTitle != call.title) fail("title \"" + *a.expectTitle + "\"");
    if (a.expectIcon && *a.expectIcon != call.icon) fail(std::string("icon ") + iconName(*a.expectIcon));
    if (a.expectButtons && *a.expectButtons != call.buttons)
        fail(std::string("buttons ") + buttonsName(*a.expectButtons));
    if (a.expectDefault && *a.expectDefault != call.defaultResult)
        fail(std::string("default button ") + resultName(*a.expectDefault));
    if (call.kind == DialogKind::MessageBox) {
        auto offered = resultsOf(call.buttons);
        if (std::find(offered.begin(), offered.end(), a.result) == offered.end())
            fail("an answer (" + std::to_string(a.result) + ") that is one of its buttons");
    }
    if (a.whileShown) a.whileShown();
    return a;
}

int HeadlessHost::showMessageBox(const MessageBoxRequest& request) {
    DialogCall call;
    call.kind = DialogKind::MessageBox;
    call.text = request.text;
    call.title = request.title;
    call.icon = request.icon;
    call.buttons = request.buttons;
    // What Enter would press: the asked-for button when the box has it, otherwise the first one.
    const std::vector<int> offered = resultsOf(request.buttons);
    call.defaultResult = std::find(offered.begin(), offered.end(), request.defaultResult) != offered.end()
                             ? request.defaultResult
                             : offered.front();
    Answer a = take(call);
    calls_.back().result = a.result;
    return a.result;
}

std::string HeadlessHost::showInputBox(const InputBoxRequest& request) {
    DialogCall call;
    call.kind = DialogKind::InputBox;
    call.text = request.prompt;
    call.title = request.caption;
    Answer a = take(call);
    calls_.back().answer = a.text;
    return a.text;
}

std::string HeadlessHost::showFolderBrowser(const std::string& title) {
    DialogCall call;
    call.kind = DialogKind::FolderBrowser;
    call.title = title;
    Answer a = take(call);
    calls_.back().answer = a.text;
    return a.text;
}

std::string HeadlessHost::showFileOpen(const FileDialogRequest& request) {
    DialogCall call;
    call.kind = DialogKind::FileOpen;
    call.title = request.title;
    call.filter = request.filter;
    call.initialFolder = request.initialFolder;
    Answer a = take(call);
    calls_.back().answer = a.text;
    return a.text;
}

int HeadlessHost::showPopupMenu(const PopupMenu& menu, Point screenPosition) {
    DialogCall call;
    call.kind = DialogKind::PopupMenu;
    call.position = screenPosition;
    for (const auto& item : menu.items()) call.menuItems.push_back(item.separator ? "-" : item.caption);
    Answer a = take(call);
    int chosen = a.result;
    if (!a.text.empty()) {
        chosen = menu.indexOf(a.text);
        if (chosen < 0) throw UnexpectedDialog("the " + describe(call) + " has no item \"" + a.text + "\" to pick");
    }
    calls_.back().result = chosen;
    return chosen;
}

void HeadlessHost::showPrintPreview(PrintGrid& grid) {
    DialogCall call;
    call.kind = DialogKind::PrintPreview;
    call.grid = grid;
    Answer a = take(call);
    if (a.inspectGrid) a.inspectGrid(grid);
}

void HeadlessHost::showFatalBox(const MessageBoxRequest& request) {
    DialogCall call;
    call.kind = DialogKind::FatalError;
    call.defaultResult = MessageResult::Ok;
    call.text = request.text;
    call.title = request.title;
    call.icon = request.icon;
    call.buttons = request.buttons;
    call.time = now_;
    call.result = MessageResult::Ok;
    calls_.push_back(call);
}

void HeadlessHost::endProcess() { throw FatalErrorShown(calls_.empty() ? std::string() : calls_.back().text); }

bool HeadlessHost::launchDefault(LaunchKind kind, const std::string& target) {
    launches_.push_back(Launch{kind, target});
    return launchResult_;
}

}  // namespace xp::ui::headless
