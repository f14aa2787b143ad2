// What deleting an order does to its selection folder: the photo table and the order's small files are
// moved aside into a dated folder inside data/, so that a new import starts afresh while a mistaken
// delete can still be undone by moving them back. Photos are never touched.
#pragma once

#include <string>

namespace xp {

struct SetAsideResult {
    bool ok = true;
    std::string folder;   // the backup folder, when something was moved
    std::string problem;  // what could not be moved
};

// Moves data/xpdata.* (table, memo file and whatever the store keeps beside them), data/save and
// data/pszs of `selectionFolder` into data/删除备份_<YYYYMMDD_HHMMSS>. Nothing to move is a success.
SetAsideResult setAsideOrderData(const std::string& selectionFolder);

}  // namespace xp
