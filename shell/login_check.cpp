// The login check: a scan of the user table from its first record, byte-exact comparisons in GBK.
#include "shell/login_check.h"

#include "appdata/registry_values.h"
#include "appdata/table_schema.h"
#include "appdata/table_text.h"
#include "appdata/text_codec.h"
#include "shell/messages.h"

namespace xp {

namespace {

// The user table as the current table: freshly opened, or still open from a failed attempt.
bool selectUserTable(RecordStore& store, const std::string& path) {
    if (openAppTable(store, path)) return true;
    return store.selectTable(kUserTableName);
}

}  // namespace

bool checkLogin(AppState& app, const std::string& userName, const std::string& password) {
    RecordStore& store = app.store;
    // A missing or damaged user table must not get as far as reading a field: that would end the
    // program with the store's fatal error instead of telling the user what is wrong.
    if (!selectUserTable(store, app.paths.userTable) || !schemaProblem(store, AppTable::Users).empty()) {
        store.closeTable(kUserTableName);
        inform(kLoginNoUserTableMessage);
        return false;
    }
    if (userName.empty() || password.empty()) {
        inform(kLoginEmptyMessage);
        return false;
    }

    // Stored texts are GBK bytes; the typed texts are compared in the same form, byte for byte. The first
    // row with the name decides; a name that no row has never matches, as no typed password is empty.
    if (!findFirstEqual(store, user_fields::kUserName, userName) ||
        store.readField(toGbk(user_fields::kPassword)).asText() != toGbk(password)) {
        inform(kLoginWrongMessage);
        return false;
    }

    store.closeAllTables();
    saveLastLogin(userName, password);
    return true;
}

}  // namespace xp
