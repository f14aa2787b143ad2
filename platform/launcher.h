// Opening a folder in the file browser or a web address in the browser, through xdg-open.
#pragma once

#include <string>
#include <vector>

namespace xp {

// Starts the open command with the folder or address as its last argument and returns at once; false
// when the command could not be started or the target is empty. The command never goes through a shell.
bool openFolder(const std::string& path);
bool openWebAddress(const std::string& address);

// The command the two functions above run, the target appended after these words. The default is
// {"xdg-open"}; an empty list restores it. Tests point it at a recorder instead of a browser.
void setOpenCommand(std::vector<std::string> command);
std::vector<std::string> openCommand();

}  // namespace xp
