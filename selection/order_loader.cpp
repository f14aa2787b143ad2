// The order loader. Tiles are made ahead on worker threads and taken strictly in folder order, one per
// loop step, so that the list fills exactly as a single-threaded loop would fill it, only sooner.
#include "selection/order_loader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "appdata/selection_files.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "appdata/text_helpers.h"
#include "imaging/thumbnail_pipeline.h"
#include "imaging/tile_cache.h"
#include "platform/file_system.h"
#include "resources/builtin_pictures.h"
#include "selection/photo_caption.h"
#include "selection/photo_list_panel.h"
#include "shell/messages.h"

namespace xp {
namespace {

namespace pf = photo_fields;

const char kMissingFolder[] =
    "没有找到选片目录，请确认该顾客的选片目录在这台电脑上，且没有被重命名或删除，否则软件无法载入该顾客文件"
    "\r\n\r\n解决方法1：把以删除或重命名的顾客选片文件夹恢复到原来的状态"
    "\r\n解决方法2：在数据管理中删除此顾客的订单记录，然后重新导入该顾客选片数据";
const char kCreateFailed[] = "数据库创建失败！请检查选片文件夹是否有可写入权限";
const char kNewTableFailed[] = "数据库连接失败！请检查选片目录是否拥有写入权限";
const char kOpenFailed[] = "数据库连接失败请重试！";
const char kAppendFailed[] = "照片记录写入失败！请检查选片目录所在的磁盘是否已满或是否有写入权限";

// A row of an existing photo table as the reconcile step needs it.
struct PhotoRow {
    int recordNumber = 0;  // position in the table, for goToRecord
    std::int32_t recordNo = 0;
    std::string fileName;  // as stored (GBK), compared byte for byte
    std::string products, retouch;
};

class Loader {
public:
    Loader(AppState& app, MainWindow& w, PhotoListPanel& panel)
        : app_(app), w_(w), panel_(panel), store_(app.store), host_(app.host) {}

    bool run() {
        app_.computePaths();
        sel_ = app_.selectionFolder();
        if (sel_.empty() || !folderExists(sel_)) {
            inform(kMissingFolder, std::string(kMessageTitle) + "选片目录不存在");
            return false;
        }
        // A photo table left open by an earlier load (of this or another folder) must not stay beside
        // the one opened now under the same name.
        store_.closeTable(kPhotoTableName);

        const std::string data = selectionDataFolder(sel_);
        if (!folderExists(data)) {
            createFolder(data);
            setHidden(data);
            return openNewTable() && import();
        }
        setHidden(data);
        if (fileExists(photoTableFile(sel_))) {
            if (!store_.openTable(app_.paths.photoTable, kTablePassword) || !hasPhotoFields()) {
                store_.closeTable(kPhotoTableName);
                inform(kOpenFailed);
                return false;
            }
            tablePath_ = store_.tablePath();
            return reconcile();
        }
        return openNewTable() && import();
    }

private:
    bool openNewTable() {
        if (!store_.createTable(photoTableFile(sel_), photoTableCreationRequest())) inform(kCreateFailed);
        if (!store_.openTable(app_.paths.photoTable)) {
            inform(kNewTableFailed);
            return false;
        }
        // A table left without the password could never be opened again by the next load.
        if (!store_.setTablePassword(kTablePassword)) {
            store_.closeTable(kPhotoTableName);
            inform(kNewTableFailed);
            return false;
        }
        tablePath_ = store_.tablePath();
        return true;
    }

    // Another table of that name or with other fields would make the field reads below fatal.
    bool hasPhotoFields() const {
        std::vector<FieldDef> fields = store_.tableFields();
        for (const char* name :
             {pf::kFileName, pf::kProducts, pf::kRetouch, pf::kFilePath, pf::kRecordNumber, pf::kFileLength}) {
            const std::string gbk = toGbk(name);
            if (std::none_of(fields.begin(), fields.end(), [&](const FieldDef& f) { return f.name == gbk; }))
                return false;
        }
        return true;
    }

    void startList() {
        panel_.clearEntries();
        w_.超级列表框1.setImageList(app_.thumbnails.reset());
        tiles_.clear();
        start_ = host_.tickCount();
        frameTick_ = start_;
        names_ = listFiles(sel_, "*.jpg");
        std::vector<std::string> paths;
        paths.reserve(names_.size());
        for (const std::string& name : names_) paths.push_back(joinPath(sel_, name));
        // The order's tile cache beside its photo table: a reopened order takes its tiles from there.
        tileCache_.emplace(resolvePath(selectionDataFolder(sel_)));
        pipeline_.emplace(std::move(paths), 0, 0, tileCache_->maker());
    }

    // One loop step's preamble: events run, the progress shows. False when, meanwhile, the photo table
    // was closed or replaced by something the user started: the load then stops where it is.
    bool step(int n) {
        host_.processEvents();
        w_.标签4.setCaption("正在加载图片请稍候(" + std::to_string(n) + ")");
        animate();
        interrupted_ = !store_.selectTable(kPhotoTableName) || store_.tablePath() != tablePath_;
        return !interrupted_;
    }

    void animate() {
        const std::int64_t now = host_.tickCount();
        if (now - frameTick_ < pictures::loadingFrameIntervalMs) return;
        frameTick_ = now;
        frame_ = (frame_ + 1) % static_cast<int>(pictures::loadingFrames.size());
        std::string_view bytes = builtinPicture(pictures::loadingFrames[static_cast<size_t>(frame_)]);
        w_.图片框3.setPicture(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }

    int nextTile() {
        std::optional<ui::Image> tile = pipeline_->next();
        return tile ? app_.thumbnails.add(std::move(*tile)) : -1;
    }

    // Appends the photo's row with the given "记录号"; false (after saying so) when the table refused it.
    bool appendRow(const std::string& name, const std::string& base, std::int32_t recordNo) {
        const std::string path = joinPath(sel_, name);
        if (store_.appendRecord({textValue(base), textValue(""), textValue(""), textValue(path),
                                 FieldValue::integer(recordNo), textValue(std::to_string(fileSize(path)))}))
            return true;
        inform(kAppendFailed);
        return false;
    }

    void finish(int n, bool keepShotCount) {
        pipeline_.reset();
        tileCache_.reset();
        const std::int64_t elapsed = host_.tickCount() - start_;
        app_.loadTime = valueText(FieldValue::real(static_cast<double>(elapsed) / 1000.0)) + "秒";
        panel_.setTiles(std::move(tiles_));
        panel_.updateStatus();
        if (n > 0 && !(keepShotCount && fileExists(shotCountFile(sel_)))) writeShotCount(sel_, n);
    }

    bool import() {
        startList();
        int n = 0;
        for (const std::string& name : names_) {
            if (!step(n + 1)) break;
            const int tile = nextTile();
            const std::string base = photoBaseName(name);
            if (!appendRow(name, base, n + 1)) break;
            ++n;
            const std::int32_t recordNo = readInt(store_, pf::kRecordNumber);
            panel_.addEntry(base, tile, recordNo);
            tiles_.try_emplace(recordNo, tile);
        }
        finish(n, false);
        return !interrupted_;
    }

    bool reconcile() {
        startList();
        std::vector<PhotoRow> rows = readRows();
        // The first row (in table order) of each "文件名" is the row a search from the first record
        // finds for a photo of that name.
        std::unordered_map<std::string, size_t> byName;
        std::int32_t largest = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            byName.try_emplace(rows[i].fileName, i);
            largest = std::max(largest, rows[i].recordNo);
        }

        int n = 0;
        std::unordered_map<std::string, int> tileByFile;
        for (const std::string& name : names_) {
            if (!step(n + 1)) break;
            const int tile = nextTile();
            const std::string base = photoBaseName(name);
            const std::string key = toGbk(base);
            std::string caption;
            std::int32_t recordNo = 0;
            if (auto it = byName.find(key); it != byName.end()) {
                const PhotoRow& row = rows[it->second];
                caption = photoCaption(fromGbk(row.fileName), row.products, row.retouch);
                recordNo = row.recordNo;
            } else {
                // A photo added to the folder after the import gets a row as the import would give it.
                if (!appendRow(name, base, largest + 1)) break;
                recordNo = readInt(store_, pf::kRecordNumber);
                largest = std::max(largest, recordNo);
                byName.emplace(key, rows.size());
                rows.push_back(PhotoRow{store_.recordNumber(), recordNo, key, {}, {}});
                caption = base;
            }
            ++n;
            panel_.addEntry(std::move(caption), tile, recordNo);
            tiles_.try_emplace(recordNo, tile);
            tileByFile.try_emplace(name, tile);
        }
        tileRowsByPath(rows, tileByFile);
        finish(n, true);
        return !interrupted_;
    }

    // Every row of the photo table in one scan. The scan runs as a search whose condition never holds:
    // each record is then read whole once, under one lock, and its fields come from that read, which
    // costs a fraction of walking the table field by field.
    std::vector<PhotoRow> readRows() {
        const FieldRef nameField(toGbk(pf::kFileName)), productsField(toGbk(pf::kProducts)),
            retouchField(toGbk(pf::kRetouch)), recordNoField(toGbk(pf::kRecordNumber));
        std::vector<PhotoRow> rows;
        store_.firstRecord();
        store_.findRecord([&] {
            const FieldValue recordNo = store_.readField(recordNoField);
            rows.push_back(PhotoRow{
                store_.recordNumber(), recordNo.isNumeric() ? recordNo.asInt() : textToInt(fromGbk(recordNo.asText())),
                store_.readField(nameField).asText(), fromGbk(store_.readField(productsField).asText()),
                fromGbk(store_.readField(retouchField).asText())});
            return false;
        });
        return rows;
    }

    // Rows that no entry stands for (a second photo of the same "文件名", a photo gone from the folder)
    // still get the tile of the file their "文件路径" names, when that file was listed.
    void tileRowsByPath(const std::vector<PhotoRow>& rows, const std::unordered_map<std::string, int>& tileByFile) {
        if (!store_.selectTable(kPhotoTableName) || store_.tablePath() != tablePath_) return;
        std::unordered_map<std::string, int> tileByFolded;
        for (const auto& [file, tile] : tileByFile) tileByFolded.try_emplace(folded(file), tile);
        for (const PhotoRow& row : rows) {
            if (tiles_.count(row.recordNo)) continue;
            store_.goToRecord(row.recordNumber);
            const std::string file = photoFileName(readText(store_, pf::kFilePath));
            if (auto exact = tileByFile.find(file); exact != tileByFile.end())
                tiles_.emplace(row.recordNo, exact->second);
            else if (auto other = tileByFolded.find(folded(file)); other != tileByFolded.end())
                tiles_.emplace(row.recordNo, other->second);
        }
    }

    // File names compare without ASCII letter case, as the folder listing does.
    static std::string folded(std::string name) {
        for (char& c : name)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return name;
    }

    static std::string photoFileName(const std::string& path) {
        const size_t slash = path.find_last_of("/\\");
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

    AppState& app_;
    MainWindow& w_;
    PhotoListPanel& panel_;
    RecordStore& store_;
    ui::Host& host_;
    std::string sel_;
    std::string tablePath_;
    std::vector<std::string> names_;
    std::optional<TileCache> tileCache_;  // outlives the pipeline that uses it
    std::optional<ThumbnailPipeline> pipeline_;
    std::unordered_map<std::int32_t, int> tiles_;
    std::int64_t start_ = 0;
    std::int64_t frameTick_ = 0;
    int frame_ = 0;
    bool interrupted_ = false;
};

}  // namespace

bool loadOrder(AppState& app) {
    MainWindow* w = app.mainWindow();
    if (!w) return false;
    PhotoListPanel* panel = PhotoListPanel::of(*w);
    if (!panel) panel = &w->addPart<PhotoListPanel>(*w);
    if (panel->loading) return false;
    panel->loading = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{panel->loading};
    return Loader(app, *w, *panel).run();
}

}  // namespace xp
