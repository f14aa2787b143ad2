// A window test written as the user's steps: set up the headless host, show windows, queue the answers
// of the boxes to come (with what each box must say), click and type, advance the clock, and read the
// recorded boxes back. Boxes that come unexpected, or expected boxes that never come, fail the test.
//
//     Scenario s;
//     auto& login = s.show<LoginWindow>(app);
//     login.用户名编辑框.setText("bob");
//     s.expectMessage("用户名或密码错误！").title("提示信息").icon(MessageIcon::Information);
//     login.按钮1.click();
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/headless/headless_host.h"

namespace xp::ui::headless {

// Refines the answer just queued. The references stay valid until the answer is used.
class Expectation {
public:
    explicit Expectation(Answer& answer) : a_(&answer) {}
    Expectation& title(std::string t) {
        a_->expectTitle = std::move(t);
        return *this;
    }
    Expectation& icon(MessageIcon i) {
        a_->expectIcon = i;
        return *this;
    }
    Expectation& buttons(MessageButtons b) {
        a_->expectButtons = b;
        return *this;
    }
    // The button Enter would press (a MessageResult value).
    Expectation& defaultButton(int result) {
        a_->expectDefault = result;
        return *this;
    }
    // What the test looks at while the box or dialog is up (the windows behind it), before it is answered.
    Expectation& whileShown(std::function<void()> look) {
        a_->whileShown = std::move(look);
        return *this;
    }
    // The button the user presses (a MessageResult value); OK unless set.
    Expectation& answer(int result) {
        a_->result = result;
        return *this;
    }
    // What the user types or chooses (input box, folder browser, file dialog).
    Expectation& answer(std::string text) {
        a_->text = std::move(text);
        return *this;
    }
    Expectation& answer(const char* text) { return answer(std::string(text)); }
    // Cancels an input box or a dialog, dismisses a menu.
    Expectation& cancel() {
        a_->text.clear();
        a_->result = a_->kind == DialogKind::PopupMenu ? -1 : MessageResult::Cancel;
        return *this;
    }
    // Picks a menu item by caption.
    Expectation& pick(std::string caption) {
        a_->text = std::move(caption);
        return *this;
    }

private:
    Answer* a_;
};

class Scenario {
public:
    Scenario() = default;
    // Fails the running test when queued answers were never used.
    ~Scenario();
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    HeadlessHost& host() { return host_; }

    // Shows a window non-modally, as the program would.
    template <class W, class... Args>
    W& show(Args&&... args) {
        return host_.open<W>(std::forward<Args>(args)...);
    }
    // The open window of a type; throws (failing the test) when there is none.
    template <class W>
    W& window() {
        if (W* w = host_.find<W>()) return *w;
        throw std::logic_error("no open window of type " + typeName(typeid(W)));
    }
    template <class W>
    W* find() {
        return host_.find<W>();
    }
    // What a modal window of type W does while it is open; it is closed afterwards if still open.
    template <class W>
    void whenModal(std::function<void(W&)> script) {
        host_.setModalScript(typeid(W), [script = std::move(script)](Window& w) { script(static_cast<W&>(w)); });
    }

    // The answers, in the order the boxes will come. An empty text expects any text.
    Expectation expectMessage(std::string text = {});
    Expectation expectInput(std::string prompt = {});
    Expectation expectFolder(std::string title = {});
    Expectation expectFile(std::string title = {});
    Expectation expectMenu();
    Expectation expectPrintPreview(std::function<void(PrintGrid&)> inspect = {});

    // The clock and the user's timing.
    void advance(int ms) { host_.waitWithEvents(ms); }
    void after(int ms, std::function<void()> action) { host_.after(ms, std::move(action)); }
    std::int64_t now() const { return host_.now(); }

    void setScreenSize(int width, int height) { host_.setScreenSize(Size{width, height}); }
    void mouseAt(int x, int y) { host_.setMousePosition(Point{x, y}); }

    // What was shown.
    const std::vector<DialogCall>& dialogs() const { return host_.calls(); }
    std::vector<std::string> messages() const;  // texts of the message boxes, in order
    const DialogCall& lastDialog() const;
    const std::vector<ModalCall>& modals() const { return host_.modals(); }
    const std::vector<Launch>& launches() const { return host_.launches(); }

private:
    Expectation queue(DialogKind kind, std::string expectText, std::string expectTitle);
    HeadlessHost host_;
};

}  // namespace xp::ui::headless
