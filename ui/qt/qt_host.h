// The Host of the real program: Qt 6 Widgets, the Fusion look, nested event loops for modal windows and
// waits, Qt's message, input and file dialogs, the print preview. The program ends when its last window
// is destroyed.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <Qt>
#include <map>
#include <memory>

#include "ui/host.h"

class QApplication;
class QEventLoop;
class QObject;
class QTranslator;
class QWidget;

namespace xp::ui::qt {

class QtHost : public Host {
public:
    // Makes the program's QApplication (with the look applied).
    QtHost(int& argc, char** argv);
    // Uses the QApplication that exists already (tests), applying the look to it.
    QtHost();
    ~QtHost() override;

    int run() override;
    void processEvents() override;
    void waitWithEvents(int ms) override;
    std::int64_t tickCount() override;
    Size screenSize() override;
    Point mousePosition() override;

protected:
    void attach(Window& window) override;
    void reveal(Window& window) override;
    void runModal(Window& window) override;
    void windowClosed(Window& window) override;
    int showMessageBox(const MessageBoxRequest& request) override;
    std::string showInputBox(const InputBoxRequest& request) override;
    std::string showFolderBrowser(const std::string& title) override;
    std::string showFileOpen(const FileDialogRequest& request) override;
    int showPopupMenu(const PopupMenu& menu, Point screenPosition) override;
    void showPrintPreview(PrintGrid& grid) override;
    bool launchDefault(LaunchKind kind, const std::string& target) override;

private:
    void setUp();
    void tryRelease();

    std::unique_ptr<QApplication> ownedApp_;
    std::unique_ptr<QTranslator> translator_;  // Qt's own texts in Chinese, when installed
    std::unique_ptr<QObject> keys_;            // routes key presses to the windows' key handlers
    std::unique_ptr<QObject> context_;         // for deferred work
    std::map<Window*, QEventLoop*> modalLoops_;
    QElapsedTimer clock_;
    bool running_ = false;
    bool releasePending_ = false;
};

// Marks a nested event loop of the program's own (modal window, wait, box) while it runs.
struct Nested {
    Nested();
    ~Nested();
    Nested(const Nested&) = delete;
    Nested& operator=(const Nested&) = delete;
};
int nestingLevel();

// Where Qt's Chinese translation of its own texts (dialog buttons, file dialog columns) is looked for.
QString qtTranslationsFolder();
inline constexpr const char* kQtTranslation = "qtbase_zh_CN";

// The widget showing a control (for a window, its outer widget); nullptr without a Qt peer.
QWidget* widgetOf(const Control& control);

// The virtual-key number of a Qt key press, 0 for keys without one.
int virtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace xp::ui::qt
