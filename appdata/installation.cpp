// Creating an installation in a staging folder and moving it into place, data folder last.
#include "appdata/installation.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "platform/file_system.h"
#include "store/record_store.h"

namespace xp {
namespace {

struct TableEntry {
    AppTable table;
    const char* name;
    const char* what;
};

constexpr TableEntry kTables[] = {
    {AppTable::Orders, kOrderTableName, "order table"},
    {AppTable::Users, kUserTableName, "user table"},
    {AppTable::Products, kProductTableName, "product table"},
    {AppTable::Categories, kCategoryTableName, "category table"},
};

std::string systemError() { return std::strerror(errno); }

std::string storeError() {
    int code = lastError();
    return errorMessage(code) + " (" + std::to_string(code) + ")";
}

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string absolutePath(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string result(real);
    std::free(real);
    return result;
}

// The four tables, each created, protected with the table password and, for users, given the admin row.
std::string createTables(const AppPaths& paths) {
    RecordStore store;
    for (const TableEntry& plan : kTables) {
        std::string path = joinPath(paths.dataFolder, plan.name);
        if (!store.createTable(path, tableFields(plan.table)))
            return std::string("cannot create the ") + plan.what + ": " + storeError();
        if (!store.openTable(path) || !store.setTablePassword(kTablePassword))
            return std::string("cannot protect the ") + plan.what + ": " + storeError();
        if (plan.table == AppTable::Users && !appendTextRow(store, {kAdminUser, kAdminPassword}))
            return "cannot add the admin account: " + storeError();
        store.closeAllTables();
    }
    return {};
}

// A rename that never replaces anything already at `to`.
bool renameNoReplace(const std::string& from, const std::string& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

struct Move {
    std::string from;
    std::string to;
};

// What to move out of the staging folder: every entry but the data folder, a gallery folder that exists
// already album by album, and the data folder last.
std::vector<Move> planMoves(const std::string& staging, const std::string& dir) {
    std::vector<Move> moves;
    std::vector<std::string> entries = listFolders(staging);
    for (const std::string& f : listFiles(staging)) entries.push_back(f);
    for (const std::string& entry : entries) {
        if (entry == "data") continue;
        std::string target = resolvePath(joinPath(dir, entry));
        bool gallery = entry == "样照欣赏" || entry == "设计看版";
        if (gallery && folderExists(target)) {
            for (const std::string& album : listFolders(joinPath(staging, entry)))
                moves.push_back({joinPath(joinPath(staging, entry), album), joinPath(target, album)});
        } else {
            moves.push_back({joinPath(staging, entry), target});
        }
    }
    moves.push_back({joinPath(staging, "data"), joinPath(dir, "data")});
    return moves;
}

// Moves everything into place; on a failure the moves already made are undone.
std::string carryOut(const std::vector<Move>& moves) {
    for (const Move& m : moves)
        if (pathExists(m.to)) return m.to + " exists already";
    for (size_t i = 0; i < moves.size(); ++i) {
        if (renameNoReplace(moves[i].from, moves[i].to)) continue;
        std::string error = "cannot move " + moves[i].to + " into place: " + systemError();
        while (i-- > 0) ::rename(moves[i].to.c_str(), moves[i].from.c_str());
        return error;
    }
    return {};
}

InstallResult refuse(std::string message) { return InstallResult{false, std::move(message), {}}; }

}  // namespace

std::vector<std::string> describeDataFolder(const std::string& dataFolder) {
    std::vector<std::string> lines;
    for (const TableEntry& plan : kTables) {
        std::string file = std::string(plan.name) + ".EDB";
        std::string line = file + " (" + plan.what + "): ";
        if (!fileExists(joinPath(dataFolder, file))) {
            lines.push_back(line + "missing");
            continue;
        }
        RecordStore store;
        OpenOptions options;
        options.readOnly = true;
        options.password = kTablePassword;
        if (!store.openTable(joinPath(dataFolder, plan.name), options)) {
            lines.push_back(line + "does not open with the table password: " + storeError());
            continue;
        }
        std::string problem = schemaProblem(store, plan.table);
        lines.push_back(line + (problem.empty() ? "present and usable" : "wrong layout: it " + problem));
        store.closeAllTables();
    }
    return lines;
}

InstallResult createInstallation(const std::string& dirIn, const InstallOptions& options) {
    if (dirIn.empty()) return refuse("no installation folder given");
    std::string dir = dirIn;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();

    std::string programName;
    if (!options.programFile.empty()) {
        if (!fileExists(options.programFile))
            return refuse("the program file " + options.programFile + " does not exist or is not a file");
        if (::access(resolvePath(options.programFile).c_str(), R_OK) != 0)
            return refuse("cannot read the program file " + options.programFile + ": " + systemError());
        programName = baseName(options.programFile);
    }

    bool createdDir = false;
    if (pathExists(dir)) {
        if (!folderExists(dir)) return refuse(dir + " exists and is not a folder");
    } else {
        size_t slash = dir.find_last_of('/');
        std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : dir.substr(0, slash);
        if (!folderExists(parent)) return refuse("the folder " + parent + " does not exist");
        if (!createFolder(dir)) return refuse("cannot create " + dir + ": " + systemError());
        createdDir = true;
    }
    dir = absolutePath(resolvePath(dir));
    auto undoDir = [&] {
        if (createdDir) ::rmdir(dir.c_str());
    };
    if (::access(dir.c_str(), W_OK | X_OK) != 0) {
        std::string error = "cannot write in " + dir + ": " + systemError();
        undoDir();
        return refuse(error);
    }

    AppPaths final = AppPaths::compute(dir);
    if (pathExists(final.dataFolder)) {
        if (!folderExists(final.dataFolder)) return refuse(final.dataFolder + " exists and is not a folder");
        std::string message = dir + " already holds an installation, or part of one; nothing was changed.";
        for (const std::string& line : describeDataFolder(resolvePath(final.dataFolder))) message += "\n  " + line;
        return refuse(message);
    }
    if (!programName.empty() && pathExists(joinPath(dir, programName))) {
        undoDir();
        return refuse(joinPath(dir, programName) + " exists already; nothing was changed");
    }

    std::string pattern = joinPath(dir, ".xuanpian-init-XXXXXX");
    if (!::mkdtemp(pattern.data())) {
        std::string error = "cannot write in " + dir + ": " + systemError();
        undoDir();
        return refuse(error);
    }
    const std::string staging = pattern;
    AppPaths staged = AppPaths::compute(staging);

    std::string error;
    if (!createFolder(staged.dataFolder) || !createFolder(staged.sampleFolder) ||
        !createFolder(staged.designBoardFolder))
        error = "cannot create folders in " + dir + ": " + systemError();
    if (error.empty()) error = createTables(staged);
    if (error.empty() && options.fill) error = options.fill(staged, final);
    if (error.empty() && !programName.empty()) {
        std::string copy = joinPath(staging, programName);
        if (!copyFile(options.programFile, copy) || ::chmod(copy.c_str(), 0755) != 0)
            error = "cannot copy the program " + options.programFile + ": " + systemError();
    }
    if (error.empty()) error = carryOut(planMoves(staging, dir));

    std::error_code ec;
    std::filesystem::remove_all(staging, ec);
    if (!error.empty()) {
        undoDir();
        return refuse(error + "; nothing was changed");
    }

    std::string message = "created the installation in " + dir + ": data/ with the order, user, product and " +
                          "category tables (user \"" + kAdminUser + "\", password \"" + kAdminPassword +
                          "\"), 样照欣赏/ and 设计看版/";
    if (!programName.empty()) message += "; the program is " + joinPath(dir, programName);
    return InstallResult{true, message, dir};
}

}  // namespace xp
