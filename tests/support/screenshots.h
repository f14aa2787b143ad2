// What the screenshot drivers of `make screenshots` share: their arguments, the program set up on the
// real Qt widgets, a login typed and clicked through the widgets as a user would, and grabbing a window
// to a PNG. The drivers are not tests: they need a display (Xvfb).
#pragma once

#include <QString>
#include <memory>
#include <string>

#include "shell/app_state.h"
#include "shell/main_window.h"
#include "ui/control.h"
#include "ui/qt/qt_host.h"

namespace xp::screenshots {

// INSTALLATION_DIR OUTPUT_DIR, the installation made absolute without a trailing "/", the output folder
// created. False (usage printed) for other arguments.
bool parseArguments(int argc, char** argv, std::string& installation, QString& outputFolder);

// The application state on this installation, set up as the program sets itself up.
std::unique_ptr<AppState> startProgram(ui::qt::QtHost& host, const std::string& installation);

// Logs in through the login window's widgets (the open one, or a new one); the main window once it has
// painted, or nullptr.
MainWindow* logIn(ui::qt::QtHost& host, AppState& app, const QString& user = QStringLiteral("admin"),
                  const QString& password = QStringLiteral("tovex"));

// The window's widget grabbed to a PNG; the file name is printed. False (and a message) on failure.
bool save(const ui::Control& window, const QString& file);

void click(const ui::Control& control, Qt::MouseButton button = Qt::LeftButton);
// Replaces the content of a line edit the way a user does: click, select all, delete, type.
void typeInto(const ui::Control& box, const QString& text);

}  // namespace xp::screenshots
