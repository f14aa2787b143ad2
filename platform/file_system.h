// Files and folders as the desktop layer sees them: names found without letter case, wildcard listings
// in a stable order, size and existence tests, folder creation, copy, move and whole-file reads and writes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xp {

// The path with every component that exists only in another letter case replaced by its name on disk
// ("DATA/XPDATA.edb" finds "data/xpdata.EDB"). Components that do not exist at all are kept as given,
// so the result can also name a file about to be created. Every function below resolves its paths so.
std::string resolvePath(const std::string& path);

bool pathExists(const std::string& path);
bool fileExists(const std::string& path);    // a regular file (or a link to one)
bool folderExists(const std::string& path);  // a directory (or a link to one)

// Size in bytes of a regular file; -1 when there is none.
std::int64_t fileSize(const std::string& path);

// Creates one folder whose parent exists. True when the folder exists afterwards (also when it did before).
bool createFolder(const std::string& path);
// Creates the folder and every missing parent.
bool createFolders(const std::string& path);

// There is no hidden attribute here: true when the path exists, nothing changes.
bool setHidden(const std::string& path);

// Names (not paths) of the regular files in `folder` matching `pattern` ("*.jpg" matches any letter
// case), sorted by name without letter case. A missing folder lists nothing.
std::vector<std::string> listFiles(const std::string& folder, std::string_view pattern = "*");
// Names of the sub-folders of `folder`, without "." and "..", in the same order.
std::vector<std::string> listFolders(const std::string& folder);

// Copies `from` to `to`, replacing `to` when it exists. The data moves with copy_file_range, so a file
// system that can share extents or copy server-side does so. The copy is made beside the target and
// renamed over it at the end: on failure the target keeps its previous content. Copying a file onto
// itself fails and changes nothing.
bool copyFile(const std::string& from, const std::string& to);

// Renames `from` to `to`, replacing `to`; across file systems it copies and then removes `from`.
bool moveFile(const std::string& from, const std::string& to);

bool removeFile(const std::string& path);

// The whole content of a regular file; nullopt when it is missing or cannot be read.
std::optional<std::string> readFile(const std::string& path);

struct WriteOptions {
    // Permission bits of the written file. Unset: an existing file keeps its bits, a new one gets 0666
    // less the umask.
    std::optional<mode_t> mode;
    // Flush the new content to disk before it replaces the old file. Only content that can be made
    // again (generated files) skips it.
    bool flush = true;
};

// Replaces the whole file with `bytes`. The new content is written to a file beside it, flushed to disk
// and renamed over the old one, so a crash or a full disk never leaves a half-written file. A link is
// followed and its target replaced.
bool writeFile(const std::string& path, std::string_view bytes, const WriteOptions& options = {});

}  // namespace xp
