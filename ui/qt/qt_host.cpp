// The Qt host: application set-up, windows and their nested loops, waits, the key router, and
// releasing closed windows only where none of their handlers can still be running.
#include "ui/qt/qt_host.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <QWindow>

#include "ui/qt/qt_peers.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_theme.h"
#include "ui/window.h"

namespace xp::ui::qt {

namespace {
int g_nesting = 0;
}  // namespace

Nested::Nested() { ++g_nesting; }
Nested::~Nested() { --g_nesting; }
int nestingLevel() { return g_nesting; }

namespace {

// Key presses go to the window's key handler before the focused control sees them.
class KeyRouter : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        // An open drop-down list or menu takes its keys itself (Esc closes it, not the window).
        if (QApplication::activePopupWidget()) return false;
        QWidget* target = QApplication::focusWidget();
        if (!target) target = QApplication::activeWindow();
        if (watched != target || !target) return false;
        for (QWidget* w = target; w; w = w->parentWidget()) {
            QVariant v = w->property("xpWindow");
            if (!v.isValid()) continue;
            auto* window = reinterpret_cast<Window*>(v.value<quintptr>());
            auto* key = static_cast<QKeyEvent*>(event);
            int vk = virtualKey(key->key(), key->modifiers());
            return vk != 0 && window->keyDown(vk);
        }
        return false;
    }
};

}  // namespace

int virtualKey(int k, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers & Qt::KeypadModifier;
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return (keypad ? 0x60 : 0x30) + (k - Qt::Key_0);
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 0x41 + (k - Qt::Key_A);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return 0x70 + (k - Qt::Key_F1);
    switch (k) {
        case Qt::Key_Backspace: return 0x08;
        case Qt::Key_Tab: return 0x09;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 0x0D;
        case Qt::Key_Shift: return 0x10;
        case Qt::Key_Control: return 0x11;
        case Qt::Key_Alt: return 0x12;
        case Qt::Key_Escape: return 0x1B;
        case Qt::Key_Space: return 0x20;
        case Qt::Key_PageUp: return 0x21;
        case Qt::Key_PageDown: return 0x22;
        case Qt::Key_End: return 0x23;
        case Qt::Key_Home: return 0x24;
        case Qt::Key_Left: return 0x25;
        case Qt::Key_Up: return 0x26;
        case Qt::Key_Right: return 0x27;
        case Qt::Key_Down: return 0x28;
        case Qt::Key_Insert: return 0x2D;
        case Qt::Key_Delete: return 0x2E;
        default: return 0;
    }
}

namespace {
int g_argc = 1;
char g_arg0[] = "xuanpian";
char* g_argv[] = {g_arg0, nullptr};
}  // namespace

QtHost::QtHost(int& argc, char** argv) {
    if (!QApplication::instance()) ownedApp_ = std::make_unique<QApplication>(argc, argv);
    setUp();
}

QtHost::QtHost() {
    if (!QApplication::instance()) ownedApp_ = std::make_unique<QApplication>(g_argc, g_argv);
    setUp();
}

QString qtTranslationsFolder() { return QLibraryInfo::path(QLibraryInfo::TranslationsPath); }

void QtHost::setUp() {
    auto* app = static_cast<QApplication*>(QApplication::instance());
    applyTheme(*app);
    // Qt's own dialogs (folder browser, print preview, page setup) speak the program's language; without
    // the translation files they stay in English and the program runs all the same.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    translator_ = std::make_unique<QTranslator>();
    if (translator_->load(QString::fromLatin1(kQtTranslation), qtTranslationsFolder()))
        QCoreApplication::installTranslator(translator_.get());
    else
        translator_.reset();
    app->setQuitOnLastWindowClosed(false);
    keys_ = std::make_unique<KeyRouter>();
    app->installEventFilter(keys_.get());
    context_ = std::make_unique<QObject>();
    clock_.start();
}

QtHost::~QtHost() {
    abandonOpenWindows();
    releaseClosedWindows();
    context_.reset();
    keys_.reset();
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
    // Widgets of closed windows are deleted later; let that happen while Qt is still here.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int QtHost::run() {
    if (!hasOpenWindows()) return 0;
    running_ = true;
    int code = QApplication::exec();
    running_ = false;
    return code;
}

void QtHost::processEvents() {
    Nested nested;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtHost::waitWithEvents(int ms) {
    if (ms <= 0) {
        processEvents();
        return;
    }
    Nested nested;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

std::int64_t QtHost::tickCount() { return clock_.elapsed(); }

Size QtHost::screenSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return Size{1366, 768};
    QRect r = screen->geometry();
    return Size{r.width(), r.height()};
}

Point QtHost::mousePosition() {
    QPoint p = QCursor::pos();
    return Point{p.x(), p.y()};
}

void QtHost::attach(Window& window) { attachTree(window, nullptr); }

void QtHost::reveal(Window& window) {
    if (QtPeer* peer = qtPeerOf(window)) revealWindowPeer(*peer);
}

void QtHost::runModal(Window& window) {
    if (!window.isOpen()) return;
    Nested nested;
    QEventLoop loop;
    modalLoops_[&window] = &loop;
    loop.exec();
    modalLoops_.erase(&window);
}

void QtHost::windowClosed(Window& window) {
    if (auto it = modalLoops_.find(&window); it != modalLoops_.end()) it->second->quit();
    if (!releasePending_) {
        releasePending_ = true;
        QTimer::singleShot(0, context_.get(), [this] { tryRelease(); });
    }
    if (!hasOpenWindows() && running_) QCoreApplication::quit();
}

// Not at once: the closed window's own handler may still be running. Only when the program is back in
// its main loop, with none of our nested loops below, can none be.
void QtHost::tryRelease() {
    if (nestingLevel() > 0) {
        QTimer::singleShot(50, context_.get(), [this] { tryRelease(); });
        return;
    }
    releasePending_ = false;
    releaseClosedWindows();
}

void placeOverOwner(QWidget* dialog, const Window* except) {
    Host* host = Host::current();
    if (!host || !dialog) return;
    auto windows = host->openWindows();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (*it == except) continue;
        QWidget* w = widgetOf(**it);
        if (!w || !w->isVisible()) continue;
        w = w->window();
        if (!w->windowHandle()) continue;
        dialog->winId();
        if (QWindow* handle = dialog->windowHandle()) handle->setTransientParent(w->windowHandle());
        return;
    }
}

bool QtHost::launchDefault(LaunchKind kind, const std::string& target) {
    if (target.empty()) return false;
    QUrl url = kind == LaunchKind::Folder ? QUrl::fromLocalFile(toQt(target)) : QUrl(toQt(target));
    return QDesktopServices::openUrl(url);
}

QWidget* widgetOf(const Control& control) {
    QtPeer* peer = qtPeerOf(control);
    return peer ? peer->widget() : nullptr;
}

}  // namespace xp::ui::qt
