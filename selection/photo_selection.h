// The selection rules the photo-list panel and the selection viewer share: finding a photo's row by its
// "记录号", the product check list (built, ticked for the current photo, picked), the photo table made
// current again, where a photo's file is, and deleting a photo.
#pragma once

#include <cstdint>
#include <string>

#include "shell/app_state.h"
#include "ui/ui.h"

namespace xp {

// The last item of the product check list.
inline constexpr char kRetouchItem[] = "修片要求";
// The last item of the product filter.
inline constexpr char kRetouchFilter[] = "查看有修片要求照片";

// Makes the open order's photo table the current table, opening it with the table password when it is
// not open; false when it cannot be had.
bool usePhotoTable(AppState& app);

// From the first record of the current table, the row whose "记录号" is recordNo; the cursor then stands
// on it.
bool findPhotoRow(AppState& app, std::int64_t recordNo);

// Fills the check list with "入册", the order's package products and "修片要求", and sets its height.
// False (the list left empty) when the order table does not open. The photo table is current afterwards.
bool buildProductCheckList(AppState& app, ui::CheckListBox& list);

// Ticks the products of the photo row under the cursor and, when it has them and a retouch request,
// "修片要求".
void tickCurrentProducts(AppState& app, ui::CheckListBox& list);

enum class PickOutcome {
    Ticked,         // a product was added to the photo
    Unticked,       // a product was taken off
    RetouchClosed,  // the retouch dialog was open and is closed again
    Refused,        // "修片要求" for a photo without products: the check list stays
    Failed,         // the photo's row could not be written; nothing changed
};

// The user picked item `item` of the check list for the current photo (AppState::photoRecordNumber),
// whose entry in the photo list is `entry`: the product is ticked or unticked in "产品名称" and the
// entry's caption follows, or the retouch dialog opens.
PickOutcome pickProduct(AppState& app, ui::CheckListBox& list, int item, int entry);

// The file a photo row shows: the selection folder's "文件名" + ".jpg" (found without letter case).
std::string photoFile(const std::string& selectionFolder, const std::string& fileName);
// The file the viewer shows for a row: photoFile, or the row's own "文件路径" when that file lies in
// the selection folder and photoFile does not exist (a photo named "a.b.jpg" has the "文件名" "a").
std::string displayFile(const std::string& selectionFolder, const std::string& fileName, const std::string& filePath);

// Whether `path` names a file inside `folder`: no ".." in it, and neither it nor a symbolic link on
// the way leads out of the folder once resolved.
bool liesInside(const std::string& path, const std::string& folder);

struct PhotoRemoval {
    bool rowFound = false;
    // The photo's file was outside the selection folder and stays where it is (its path).
    std::string keptOutside;
};
// Deletes the photo whose row has this "记录号": its file (only inside the selection folder; a file
// that is missing or cannot be deleted is passed over), then its row. `purge` purges the table at once;
// deleting many photos purges once at the end instead.
PhotoRemoval removePhoto(AppState& app, std::int64_t recordNo, bool purge = true);

// The message for photo files that were left where they are because they lie outside the folder.
std::string keptOutsideMessage(const std::vector<std::string>& paths);

}  // namespace xp
