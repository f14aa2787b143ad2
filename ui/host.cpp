// The backend-independent part of the Host: window bookkeeping, default titles, the fatal error text
// and the launcher.
#include "ui/host.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "ui/popup_menu.h"

namespace xp::ui {

namespace {
Host* g_current = nullptr;
}

Host::Host() : previous_(g_current) { g_current = this; }

Host::~Host() {
    abandonOpenWindows();
    if (g_current == this) g_current = previous_;
}

void Host::abandonOpenWindows() {
    // Windows still open when the host goes (a test that ends early) lose their backend quietly.
    std::vector<Window*> open = std::move(open_);
    open_.clear();
    for (Window* w : open) {
        w->host_ = nullptr;
        w->state_ = Window::State::Closed;
        w->detachPeers();
    }
}

Host* Host::current() { return g_current; }

Host& host() {
    if (!g_current) {
        std::fputs("xp::ui::host(): no Host has been set up\n", stderr);
        std::abort();
    }
    return *g_current;
}

void Host::show(std::shared_ptr<Window> window) {
    if (!window || window->state_ != Window::State::New) return;
    Window& w = *window;
    owned_.push_back(std::move(window));
    w.host_ = this;
    w.modal_ = false;
    w.state_ = Window::State::Open;
    open_.push_back(&w);
    attach(w);
    if (w.onCreated) w.onCreated();
    if (w.isOpen()) reveal(w);
}

void Host::showModal(Window& w) {
    if (w.state_ != Window::State::New) return;
    w.host_ = this;
    w.modal_ = true;
    w.state_ = Window::State::Open;
    open_.push_back(&w);
    attach(w);
    if (w.onCreated) w.onCreated();
    if (!w.isOpen()) return;
    reveal(w);
    runModal(w);
}

void Host::closeChildWindows(Window& parent) {
    std::vector<Window*> children;
    for (Window* w : open_)
        if (w->parentWindow() == &parent) children.push_back(w);
    for (Window* child : children) child->close();
}

void Host::onWindowClosed(Window& window) {
    open_.erase(std::remove(open_.begin(), open_.end(), &window), open_.end());
    auto it = std::find_if(owned_.begin(), owned_.end(), [&](const auto& p) { return p.get() == &window; });
    if (it != owned_.end()) {
        closedOwned_.push_back(std::move(*it));
        owned_.erase(it);
    }
    windowClosed(window);
}

void Host::onWindowDestroyed(Window& window) {
    open_.erase(std::remove(open_.begin(), open_.end(), &window), open_.end());
    windowClosed(window);
}

int Host::messageBox(std::string text, std::string title, MessageIcon icon, MessageButtons buttons, int defaultResult) {
    if (title.empty()) title = kDefaultMessageTitle;
    return showMessageBox(MessageBoxRequest{std::move(text), std::move(title), icon, buttons, defaultResult});
}

std::string Host::inputBox(std::string prompt, std::string caption) {
    if (caption.empty()) caption = kDefaultInputCaption;
    return showInputBox(InputBoxRequest{std::move(prompt), std::move(caption)});
}

std::string Host::browseFolder(std::string title) { return showFolderBrowser(title); }

std::string Host::openFile(std::string filter, std::string initialFolder, std::string title) {
    return showFileOpen(FileDialogRequest{std::move(title), std::move(filter), std::move(initialFolder)});
}

int Host::popupMenu(const PopupMenu& menu, Point screenPosition) {
    int chosen = showPopupMenu(menu, screenPosition);
    if (chosen < 0 || chosen >= menu.itemCount()) return -1;
    const PopupMenu::Item& item = menu.items()[static_cast<size_t>(chosen)];
    return item.enabled && !item.separator ? chosen : -1;
}

void Host::printPreview(PrintGrid& grid) { showPrintPreview(grid); }

void Host::fatalError(const std::string& message) {
    showFatalBox(MessageBoxRequest{"运行时出错!\r\n\r\n错误信息：" + message + "\r\n", "错误", MessageIcon::Error,
                                   MessageButtons::Ok, -1});
    endProcess();
    std::exit(-1);  // only reached if a backend's endProcess broke its promise
}

void Host::endProcess() { std::exit(-1); }

bool Host::openFolder(const std::string& path) {
    return launcher_ ? launcher_(LaunchKind::Folder, path) : launchDefault(LaunchKind::Folder, path);
}

bool Host::openWebAddress(const std::string& address) {
    return launcher_ ? launcher_(LaunchKind::WebAddress, address) : launchDefault(LaunchKind::WebAddress, address);
}

}  // namespace xp::ui
